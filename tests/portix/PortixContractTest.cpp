// The connection engine's request side against the loopback update server: for each case the
// reports the caller gets and the output file it is left with. Every request keeps the same
// rules: 16464 first, exactly one final report, all reports on the requesting thread while it
// pumps, and an output file only after 16469 (no partial file left anywhere).
#include "PortixTestSupport.h"

#include <TestCertificate.h>

#include <optional>

using namespace portixtest;
using updateserver::Fault;
namespace fs = std::filesystem;

namespace {

const size_t kBigSize = 300000;
const size_t kSmallSize = 5000;

class PortixContract : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_set = new TempDir;
        s_set->Write("big.bin", Pattern(kBigSize, 1));
        s_set->Write("small.bin", Pattern(kSmallSize, 2));
        s_set->Write("online.upd", Manifest());
        s_server = new updateserver::UpdateServer(updateserver::Options(s_set->str()));
        std::string error;
        ASSERT_TRUE(s_server->Start(error)) << error;
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        delete s_set;
        s_server = nullptr;
        s_set = nullptr;
    }
    void SetUp() override
    {
        portix::host::ResetEngineSettings();
        s_server->ClearFaults();
    }
    void TearDown() override { portix::host::ResetEngineSettings(); }

    static std::string Manifest()
    {
        return "FL:flg00002.inc|1200\r\nUP:up000001.rcv|300\r\nCHECKSUM:4711\r\nMSG:AB012345|1|Welcome\r\n";
    }
    static std::string Url(const std::string& name) { return s_server->BaseUrl() + name; }
    fs::path Out(const std::string& name = "out.bin") const { return m_out.path() / name; }

    // Runs a request to its final report, pumps a little longer, and checks the common rules.
    void Run(CPortix& engine, Recorder& r)
    {
        ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
        ASSERT_TRUE(PumpUntil([&] { return r.Ended(); })) << r.Sequence();
        PumpFor(60);
        CheckRules(r);
    }

    void CheckRules(const Recorder& r)
    {
        ASSERT_FALSE(r.calls.empty());
        EXPECT_EQ(r.calls.front().major, PTX_XFER_PENDING) << r.Sequence();
        int finals = 0, begun = 0;
        long lastProgress = -1;
        for (const Call& c : r.calls) {
            EXPECT_EQ(c.thread, GetCurrentThreadId());
            if (Recorder::IsFinal(c.major))
                ++finals;
            if (c.major == PTX_XFER_BEGUN) {
                ++begun;
                EXPECT_EQ(lastProgress, -1) << "progress before the transfer began: " << r.Sequence();
            }
            if (c.major == PTX_XFER_IN_PROCESS) {
                EXPECT_EQ(begun, 1) << r.Sequence();
                EXPECT_GT(c.minor, lastProgress) << r.Sequence();
                lastProgress = c.minor;
            }
        }
        EXPECT_EQ(finals, 1) << r.Sequence();
        EXPECT_TRUE(Recorder::IsFinal(r.Last().major)) << r.Sequence();
        EXPECT_LE(begun, 1);
        const fs::path output = ::host::ToHostPath(static_cast<LPCSTR>(r.output)).value_or("");
        EXPECT_EQ(fs::exists(output), r.Last().major == PTX_XFER_ENDED) << r.Sequence();
        if (fs::is_directory(output.parent_path())) {
            for (const std::string& name : FolderNames(output.parent_path()))
                EXPECT_EQ(name.find(".ptx"), std::string::npos) << "left behind: " << name;
        }
    }

    size_t RequestsOf(const std::string& name) const
    {
        size_t n = 0;
        for (const auto& req : s_server->Requests())
            n += req.name == name;
        return n;
    }

    static TempDir* s_set;
    static updateserver::UpdateServer* s_server;
    TempDir m_out;
};

TempDir* PortixContract::s_set = nullptr;
updateserver::UpdateServer* PortixContract::s_server = nullptr;

struct Case {
    const char* label;
    std::string name;
    std::optional<Fault> fault;
    long major;
    long minor;
    bool begins;
    std::string body;              // what the output holds when the transfer ends
    std::string minorDescAfter5;   // the reason after "NNN: ", when checked
    long stallMs = 0;
    std::int64_t bodyCap = 0;
};

TEST_F(PortixContract, EachServerBehaviourGivesItsReportsAndFile)
{
    const std::string big = Pattern(kBigSize, 1), small = Pattern(kSmallSize, 2);
    const std::string bigName = "nph-get_object/big.bin", smallName = "nph-get_object/small.bin";
    const std::vector<Case> cases = {
        {"complete", bigName, {}, PTX_XFER_ENDED, long(kBigSize), true, big, ""},
        {"not found", "nph-get_object/missing.bin", {}, PTX_SERVER_ERROR, 404, false, "", "Not Found"},
        {"gone, with its reason", bigName, Fault::WithStatus(410, "This version is retired"), PTX_SERVER_ERROR, 410,
         false, "", "This version is retired"},
        {"precondition, with its reason", bigName, Fault::WithStatus(412, "Install the update disc first"),
         PTX_SERVER_ERROR, 412, false, "", "Install the update disc first"},
        {"server error", bigName, Fault::WithStatus(500), PTX_SERVER_ERROR, 500, false, "", ""},
        {"body cut short", bigName, Fault::Cut(1000), PTX_REMOTE_ERROR, PTX_REMOTE_CLOSED, true, "", ""},
        {"closed before the headers", bigName, Fault::CloseFirst(), PTX_REMOTE_ERROR, PTX_NO_VALID_HEADER, false, "",
         ""},
        {"stall past the read time-out", bigName, Fault::StallAfter(1000, 5000), PTX_REMOTE_ERROR,
         PTX_HOST_CONNECTION_LOST, true, "", "", 400},
        {"slow but complete", smallName, Fault::SlowChunks(1000, 120), PTX_XFER_ENDED, long(kSmallSize), true, small,
         "", 500},
        {"more declared than sent", bigName, Fault::LengthOff(100), PTX_REMOTE_ERROR, PTX_REMOTE_CLOSED, true, "", ""},
        {"less declared than sent", bigName, Fault::LengthOff(-100), PTX_XFER_ENDED, long(kBigSize - 100), true,
         big.substr(0, kBigSize - 100), ""},
        {"body over the size cap", bigName, {}, PTX_REMOTE_ERROR, PTX_ABORTED_LOCALLY, false, "", "", 0, 1000},
        {"redirect on the same host", "nph-get_object/moved.bin",
         Fault::RedirectTo(Fault::Where::SameHost, smallName), PTX_XFER_ENDED, long(kSmallSize), true, small, ""},
        {"redirect to another host", "nph-get_object/moved.bin",
         Fault::RedirectTo(Fault::Where::OtherHost, smallName), PTX_SERVER_ERROR, 302, false, "", ""},
        {"redirect to another scheme", "nph-get_object/moved.bin",
         Fault::RedirectTo(Fault::Where::OtherScheme, smallName), PTX_SERVER_ERROR, 302, false, "", ""},
    };
    CPortix engine;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        s_server->ClearFaults();
        portix::host::EngineSettings settings;
        if (c.stallMs)
            settings.stallTimeoutMs = c.stallMs;
        if (c.bodyCap)
            settings.bodyCap = c.bodyCap;
        portix::host::SetEngineSettings(settings);
        if (c.fault)
            s_server->AddFault(c.name, *c.fault);
        const size_t smallBefore = RequestsOf(smallName);

        const fs::path out = Out(std::string("case-") + std::to_string(&c - cases.data()));
        Recorder r(Url(c.name), out);
        Run(engine, r);
        EXPECT_EQ(r.Last().major, c.major) << r.Sequence();
        EXPECT_EQ(r.Last().minor, c.minor) << r.Sequence() << r.Last().minorDesc;
        EXPECT_EQ(r.Has(PTX_XFER_BEGUN), c.begins) << r.Sequence();
        if (c.major == PTX_XFER_ENDED) {
            EXPECT_TRUE(m_out.Read(out.filename().string()) == c.body) << "the output differs from the body";
            EXPECT_TRUE(r.Has(PTX_XFER_IN_PROCESS));
        }
        if (c.major == PTX_SERVER_ERROR) {
            ASSERT_GE(r.Last().minorDesc.size(), 5u);
            EXPECT_EQ(r.Last().minorDesc.substr(0, 5), std::to_string(c.minor) + ": ");
            if (!c.minorDescAfter5.empty()) {
                EXPECT_EQ(r.Last().minorDesc.substr(5), c.minorDescAfter5);
            }
        }
        if (c.fault && c.fault->kind == Fault::Kind::Redirect && c.major != PTX_XFER_ENDED) {
            EXPECT_EQ(RequestsOf(smallName), smallBefore) << "a refused redirect was followed";
        }
    }
}

TEST_F(PortixContract, CompleteTransferReportsItsTotalsAndProgress)
{
    CPortix engine;
    Recorder r(Url("nph-get_object/big.bin"), Out());
    Run(engine, r);
    ASSERT_EQ(r.Last().major, PTX_XFER_ENDED) << r.Sequence();
    ASSERT_GE(r.calls.size(), 4u) << r.Sequence();
    EXPECT_EQ(r.calls[1].major, PTX_XFER_BEGUN);
    EXPECT_EQ(r.calls[1].minor, 200);
    EXPECT_EQ(r.calls[1].total, long(kBigSize));
    EXPECT_EQ(r.calls[r.calls.size() - 2].major, PTX_XFER_IN_PROCESS);
    EXPECT_EQ(r.calls[r.calls.size() - 2].minor, long(kBigSize));
    EXPECT_EQ(r.Last().total, long(kBigSize));
}

TEST_F(PortixContract, UndeclaredLengthBeginsWithNoTotalAndTheCapStillHolds)
{
    CPortix engine;
    s_server->AddFault("nph-get_object/big.bin", Fault::Undeclared(8192));
    Recorder whole(Url("nph-get_object/big.bin"), Out("whole.bin"));
    Run(engine, whole);
    ASSERT_EQ(whole.Last().major, PTX_XFER_ENDED) << whole.Sequence();
    EXPECT_EQ(whole.calls[1].major, PTX_XFER_BEGUN);
    EXPECT_EQ(whole.calls[1].total, -1);
    EXPECT_TRUE(m_out.Read("whole.bin") == Pattern(kBigSize, 1));

    portix::host::EngineSettings settings;
    settings.bodyCap = 100000;
    portix::host::SetEngineSettings(settings);
    s_server->AddFault("nph-get_object/big.bin", Fault::Undeclared(8192));
    Recorder capped(Url("nph-get_object/big.bin"), Out("capped.bin"));
    Run(engine, capped);
    EXPECT_TRUE(capped.Has(PTX_XFER_BEGUN));
    EXPECT_EQ(capped.Last().major, PTX_REMOTE_ERROR) << capped.Sequence();
    EXPECT_EQ(capped.Last().minor, PTX_ABORTED_LOCALLY);
}

TEST_F(PortixContract, IdentifyPostsItsFieldsAndBeginsWith250WhenMessagesWait)
{
    CPortix engine;
    CMapStringToString fields;
    fields.SetAt("ISP_USED", "ptdgenrc.dll");
    fields.SetAt("VERSION", "3.0.3.508");
    fields.SetAt("NOTE", "a b&c=d/\xe9");
    Recorder r(Url("nph-identify"), Out("online.tmp"));
    r.m_pFields = &fields;
    Run(engine, r);
    ASSERT_EQ(r.Last().major, PTX_XFER_ENDED) << r.Sequence();
    EXPECT_EQ(r.calls[1].major, PTX_XFER_BEGUN);
    EXPECT_EQ(r.calls[1].minor, 250);
    EXPECT_EQ(r.calls[1].total, long(Manifest().size()));
    EXPECT_EQ(m_out.Read("online.tmp"), Manifest());

    const auto requests = s_server->Requests();
    const auto& last = requests.back();
    EXPECT_EQ(last.method, "POST");
    EXPECT_EQ(last.name, "nph-identify");
    EXPECT_EQ(last.form.at("ISP_USED"), "ptdgenrc.dll");
    EXPECT_EQ(last.form.at("VERSION"), "3.0.3.508");
    EXPECT_EQ(last.form.at("NOTE"), "a b&c=d/\xe9");
}

TEST_F(PortixContract, RefusedRequestsAnswerAtOnceAndReportNothing)
{
    struct Refusal {
        const char* url;
        int code;
    };
    const std::string port = std::to_string(s_server->Port());
    const std::vector<Refusal> refusals = {
        {"", PTX_URL_PARSE_ERROR},
        {"not an address", PTX_URL_PARSE_ERROR},
        {"http://", PTX_URL_PARSE_ERROR},
        {"ftp://127.0.0.1/online/nph-identify", PTX_URL_UNSUPPORTED_SERVICE},
        {"file:///etc/passwd", PTX_URL_UNSUPPORTED_SERVICE},
        {"gopher://127.0.0.1:70/", PTX_URL_UNSUPPORTED_SERVICE},
    };
    CPortix engine;
    for (const Refusal& f : refusals) {
        SCOPED_TRACE(f.url);
        Recorder r(f.url, Out());
        EXPECT_EQ(engine.RequestUrl(&r), f.code);
        PumpFor(30);
        EXPECT_TRUE(r.calls.empty()) << r.Sequence();
    }
    Recorder noOutput(Url("nph-identify"), Out());
    noOutput.m_pOutputFile = nullptr;
    EXPECT_EQ(engine.RequestUrl(&noOutput), PTX_DEST_FILE_ERROR);
    EXPECT_EQ(engine.RequestUrl(nullptr), PTX_URL_PARSE_ERROR);

    // The same record twice while the first is in flight.
    Recorder twice(Url("nph-get_object/small.bin"), Out());
    ASSERT_EQ(engine.RequestUrl(&twice), PTX_SUCCESS);
    EXPECT_EQ(engine.RequestUrl(&twice), PTX_UNKNOWN_ERROR);
    ASSERT_TRUE(PumpUntil([&] { return twice.Ended(); }));
    PumpFor(30);
    CheckRules(twice);
}

TEST_F(PortixContract, CancelMidTransferEndsOnceAndLeavesNoFile)
{
    s_server->AddFault("nph-get_object/big.bin", Fault::SlowChunks(4096, 40));
    CPortix engine;
    Recorder r(Url("nph-get_object/big.bin"), Out());
    ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
    ASSERT_TRUE(PumpUntil([&] { return r.Has(PTX_XFER_IN_PROCESS); })) << r.Sequence();
    EXPECT_EQ(engine.Cancel(&r), PTX_SUCCESS);
    EXPECT_EQ(engine.Cancel(&r), PTX_SUCCESS);  // twice: still one cancel
    ASSERT_TRUE(PumpUntil([&] { return r.Ended(); }));
    PumpFor(100);
    CheckRules(r);
    EXPECT_EQ(r.Last().major, PTX_XFER_CANCELLED);

    // Once ended, a cancel does nothing.
    const size_t calls = r.calls.size();
    EXPECT_EQ(engine.Cancel(&r), PTX_UNKNOWN_ERROR);
    PumpFor(50);
    EXPECT_EQ(r.calls.size(), calls);
}

TEST_F(PortixContract, CancelAfterTheTransferEndedButBeforeItsReportDoesNothing)
{
    CPortix engine;
    Recorder r(Url("nph-get_object/small.bin"), Out());
    ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // ended on the worker, not yet reported
    EXPECT_EQ(engine.Cancel(&r), PTX_UNKNOWN_ERROR);
    ASSERT_TRUE(PumpUntil([&] { return r.Ended(); }));
    PumpFor(30);
    CheckRules(r);
    EXPECT_EQ(r.Last().major, PTX_XFER_ENDED);
}

TEST_F(PortixContract, CloseCancelsEveryRequestOfItsObjectOnly)
{
    s_server->AddFault("nph-get_object/big.bin", Fault::SlowChunks(4096, 40), 2);
    CPortix closing, other;
    Recorder a(Url("nph-get_object/big.bin"), Out("a.bin"));
    Recorder b(Url("nph-get_object/big.bin"), Out("b.bin"));
    Recorder c(Url("nph-get_object/small.bin"), Out("c.bin"));
    ASSERT_EQ(closing.RequestUrl(&a), PTX_SUCCESS);
    ASSERT_EQ(closing.RequestUrl(&b), PTX_SUCCESS);
    ASSERT_TRUE(PumpUntil([&] { return a.Has(PTX_XFER_BEGUN) && b.Has(PTX_XFER_BEGUN); }));
    ASSERT_EQ(other.RequestUrl(&c), PTX_SUCCESS);
    // An engine object's end ends nothing: its request runs on and reports.
    Recorder d(Url("nph-get_object/small.bin"), Out("d.bin"));
    {
        CPortix shortLived;
        ASSERT_EQ(shortLived.RequestUrl(&d), PTX_SUCCESS);
    }
    EXPECT_EQ(closing.Close(), PTX_SUCCESS);
    ASSERT_TRUE(PumpUntil([&] { return a.Ended() && b.Ended() && c.Ended() && d.Ended(); }));
    PumpFor(100);
    for (Recorder* r : {&a, &b, &c, &d})
        CheckRules(*r);
    EXPECT_EQ(d.Last().major, PTX_XFER_ENDED);
    EXPECT_EQ(a.Last().major, PTX_XFER_CANCELLED);
    EXPECT_EQ(b.Last().major, PTX_XFER_CANCELLED);
    EXPECT_EQ(c.Last().major, PTX_XFER_ENDED);
}

TEST_F(PortixContract, ReportsWaitForThePumpOfTheRequestingThread)
{
    CPortix engine;
    Recorder r(Url("nph-get_object/small.bin"), Out());
    ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_TRUE(r.calls.empty()) << "a report came without a pump: " << r.Sequence();
    EXPECT_FALSE(fs::exists(Out())) << "the output appeared before its report";

    // A request of another thread is reported there, while that thread pumps; this thread's
    // pump meanwhile gets only its own.
    DWORD otherThread = 0;
    std::vector<Call> otherCalls;
    std::thread worker([&] {
        otherThread = GetCurrentThreadId();
        CPortix own;
        Recorder o(Url("nph-get_object/big.bin"), Out("other.bin"));
        if (own.RequestUrl(&o) == PTX_SUCCESS)
            PumpUntil([&] { return o.Ended(); });
        otherCalls = o.calls;
    });
    ASSERT_TRUE(PumpUntil([&] { return r.Ended(); }));
    worker.join();
    PumpFor(30);
    CheckRules(r);
    EXPECT_EQ(r.Last().major, PTX_XFER_ENDED);
    ASSERT_FALSE(otherCalls.empty());
    EXPECT_EQ(otherCalls.back().major, PTX_XFER_ENDED);
    for (const Call& c : otherCalls)
        EXPECT_EQ(c.thread, otherThread);
}

TEST_F(PortixContract, SetXferEndInAReportEndsTheRequestThere)
{
    s_server->AddFault("nph-get_object/big.bin", Fault::SlowChunks(4096, 40));
    CPortix engine;
    Recorder r(Url("nph-get_object/big.bin"), Out());
    r.onCall = [](Recorder&, CRequestNotification& n) {
        if (n.m_pStatus->GetMajorCode() == PTX_XFER_BEGUN)
            n.m_pStatus->SetXferEnd();
    };
    ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
    ASSERT_TRUE(PumpUntil([&] { return r.Has(PTX_XFER_BEGUN); }));
    PumpFor(400);
    EXPECT_EQ(r.Last().major, PTX_XFER_BEGUN) << "reports after SetXferEnd: " << r.Sequence();
    EXPECT_EQ(engine.Cancel(&r), PTX_UNKNOWN_ERROR);
    EXPECT_FALSE(fs::exists(Out()));
    EXPECT_TRUE(FolderNames(m_out.path()).empty());

    // On a final report it only marks the record.
    CStatus final;
    final.SetMajor(PTX_SERVER_ERROR, "x");
    final.SetXferEnd();
    EXPECT_EQ(final.GetMajorCode(), PTX_SERVER_ERROR);
}

TEST_F(PortixContract, IdentityGoesOnlyToItsHost)
{
    CAuthorizationInfo none("id", "id", "Veltra_Token", "");
    EXPECT_EQ(CPortix::SetAuthorizationInfo(none), PTX_HOST_NAME_REQUIRED);

    struct HostCase {
        std::string host;
        bool sent;
    };
    const std::string port = std::to_string(s_server->Port());
    const std::vector<HostCase> hosts = {
        {"127.0.0.1", true}, {"127.0.0.1:" + port, true}, {"127.0.0.1:1", false}, {"updates.example", false}};
    CPortix engine;
    for (const HostCase& h : hosts) {
        SCOPED_TRACE(h.host);
        CAuthorizationInfo info("VL-4711", "secret", "Veltra_Token", h.host.c_str());
        ASSERT_EQ(CPortix::SetAuthorizationInfo(info), PTX_SUCCESS);
        // Through a redirect on the same host: both hops are the configured host's.
        s_server->AddFault("nph-get_object/moved.bin",
                           Fault::RedirectTo(Fault::Where::SameHost, "nph-get_object/small.bin"));
        const size_t before = s_server->Requests().size();
        Recorder r(Url("nph-get_object/moved.bin"), Out());
        Run(engine, r);
        EXPECT_EQ(r.Last().major, PTX_XFER_ENDED);
        const auto requests = s_server->Requests();
        ASSERT_EQ(requests.size(), before + 2);
        for (size_t i = before; i < requests.size(); ++i) {
            EXPECT_EQ(requests[i].hasCredentials, h.sent) << requests[i].name;
            if (h.sent) {
                EXPECT_EQ(requests[i].user, "VL-4711");
                EXPECT_EQ(requests[i].password, "secret");
            }
        }
        fs::remove(Out());
    }
    CAuthorizationInfo nowhere("VL-4711", "secret", "Veltra_Token", "updates.example");
    CPortix::SetAuthorizationInfo(nowhere);
}

TEST_F(PortixContract, TooManyRedirectsAreRefused)
{
    s_server->AddFault("nph-get_object/loop.bin",
                       Fault::RedirectTo(Fault::Where::SameHost, "nph-get_object/loop.bin"), 0);
    CPortix engine;
    Recorder r(Url("nph-get_object/loop.bin"), Out());
    Run(engine, r);
    EXPECT_EQ(r.Last().major, PTX_SERVER_ERROR);
    EXPECT_EQ(r.Last().minor, 302);
    EXPECT_EQ(RequestsOf("nph-get_object/loop.bin"), 4u);  // the request and three redirects
}

TEST_F(PortixContract, OutputFileRules)
{
    CPortix engine;
    // A folder that does not exist: the file cannot be made.
    {
        Recorder r(Url("nph-get_object/small.bin"), m_out.path() / "missing" / "out.bin");
        Run(engine, r);
        EXPECT_EQ(r.Last().major, PTX_DEST_FILE_ERROR) << r.Sequence();
    }
    // A failed transfer leaves an earlier output as it was.
    {
        m_out.Write("kept.bin", "earlier");
        Recorder r(Url("nph-get_object/missing.bin"), Out("kept.bin"));
        ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
        ASSERT_TRUE(PumpUntil([&] { return r.Ended(); }));
        EXPECT_EQ(r.Last().major, PTX_SERVER_ERROR);
        EXPECT_EQ(m_out.Read("kept.bin"), "earlier");
        fs::remove(Out("kept.bin"));
    }
    // An output that is a symbolic link is replaced; what it pointed to is not written through.
    {
        m_out.Write("victim.txt", "untouched");
        fs::create_symlink(m_out.path() / "victim.txt", Out("link.bin"));
        Recorder r(Url("nph-get_object/small.bin"), Out("link.bin"));
        ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
        ASSERT_TRUE(PumpUntil([&] { return r.Ended(); }));
        EXPECT_EQ(r.Last().major, PTX_XFER_ENDED);
        EXPECT_FALSE(fs::is_symlink(Out("link.bin")));
        EXPECT_TRUE(m_out.Read("link.bin") == Pattern(kSmallSize, 2));
        EXPECT_EQ(m_out.Read("victim.txt"), "untouched");
    }
}

TEST_F(PortixContract, RefusedConnectionIsARemoteFailure)
{
    // A port that was free a moment ago: nothing listens there.
    updateserver::UpdateServer probe(updateserver::Options(s_set->str()));
    std::string error;
    ASSERT_TRUE(probe.Start(error)) << error;
    const std::string url = probe.BaseUrl() + "nph-identify";
    probe.Stop();
    CPortix engine;
    Recorder r(url, Out());
    Run(engine, r);
    EXPECT_EQ(r.Last().major, PTX_REMOTE_ERROR);
    EXPECT_EQ(r.Last().minor, PTX_REMOTE_FAILURE);
}

TEST(PortixHttps, CertificateMadeForTheTestVerifiesAndOthersDoNot)
{
    TempDir certs, set;
    set.Write("small.bin", Pattern(kSmallSize, 2));
    std::string error;
    const std::string trusted = (certs.path() / "trusted.pem").string();
    const std::string stranger = (certs.path() / "stranger.pem").string();
    const std::string misnamed = (certs.path() / "misnamed.pem").string();
    ASSERT_TRUE(updateserver::MakeSelfSignedCertificate(trusted, (certs.path() / "trusted.key").string(),
                                                        "127.0.0.1", "IP:127.0.0.1", error)) << error;
    ASSERT_TRUE(updateserver::MakeSelfSignedCertificate(stranger, (certs.path() / "stranger.key").string(),
                                                        "127.0.0.1", "IP:127.0.0.1", error)) << error;
    ASSERT_TRUE(updateserver::MakeSelfSignedCertificate(misnamed, (certs.path() / "misnamed.key").string(),
                                                        "elsewhere.invalid", "DNS:elsewhere.invalid", error)) << error;
    // The engine trusts the first certificate and the misnamed one.
    std::ofstream(certs.path() / "trust.pem") << certs.Read("trusted.pem") << certs.Read("misnamed.pem");
    portix::host::EngineSettings settings;
    settings.certificateFile = (certs.path() / "trust.pem").string();
    portix::host::SetEngineSettings(settings);

    struct TlsCase {
        const char* label;
        std::string cert;
        std::string key;
        bool verifies;
    };
    const std::vector<TlsCase> cases = {
        {"made for the test", trusted, (certs.path() / "trusted.key").string(), true},
        {"not trusted", stranger, (certs.path() / "stranger.key").string(), false},
        {"for another name", misnamed, (certs.path() / "misnamed.key").string(), false},
    };
    CPortix engine;
    TempDir out;
    for (const TlsCase& c : cases) {
        SCOPED_TRACE(c.label);
        updateserver::Options options;
        options.folder = set.str();
        options.certificateFile = c.cert;
        options.keyFile = c.key;
        updateserver::UpdateServer server(options);
        ASSERT_TRUE(server.Start(error)) << error;
        ASSERT_EQ(server.BaseUrl().substr(0, 8), "https://");
        Recorder r(server.BaseUrl() + "nph-get_object/small.bin", out.path() / "out.bin");
        ASSERT_EQ(engine.RequestUrl(&r), PTX_SUCCESS);
        ASSERT_TRUE(PumpUntil([&] { return r.Ended(); })) << r.Sequence();
        PumpFor(30);
        int finals = 0;
        for (const Call& call : r.calls)
            finals += Recorder::IsFinal(call.major);
        EXPECT_EQ(finals, 1);
        if (c.verifies) {
            EXPECT_EQ(r.Last().major, PTX_XFER_ENDED) << r.Sequence() << r.Last().minorDesc;
            EXPECT_TRUE(out.Read("out.bin") == Pattern(kSmallSize, 2));
        } else {
            EXPECT_EQ(r.Last().major, PTX_REMOTE_ERROR) << r.Sequence();
            EXPECT_EQ(r.Last().minor, PTX_REMOTE_FAILURE);
            EXPECT_NE(r.Last().minorDesc.find("certificate"), std::string::npos) << r.Last().minorDesc;
            EXPECT_FALSE(fs::exists(out.path() / "out.bin"));
            EXPECT_TRUE(server.Requests().empty()) << "a request reached a server that did not verify";
        }
        fs::remove(out.path() / "out.bin");
    }
    portix::host::ResetEngineSettings();
}

}  // namespace
