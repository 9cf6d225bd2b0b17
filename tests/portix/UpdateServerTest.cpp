// The loopback update server on its own: what it serves and refuses, what it records, how its
// faults count down, and that it is reachable on 127.0.0.1 only.
#include <UpdateServer.h>

#include <httplib.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempDir.h"

using updateserver::Fault;

namespace {

class UpdateServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root.Write("set/online.upd", "FL:flg00002.inc|1200\r\nCHECKSUM:4711\r\n");
        m_root.Write("set/up000001.rcv", "article");
        m_root.Write("secret.txt", "outside the set");
        m_server = std::make_unique<updateserver::UpdateServer>(updateserver::Options((m_root.path() / "set").string()));
        std::string error;
        ASSERT_TRUE(m_server->Start(error)) << error;
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_server->Port());
        m_client->set_url_encode(false);
    }

    int Status(const std::string& path, std::string* body = nullptr)
    {
        auto res = m_client->Get(path.c_str());
        if (!res)
            return -1;
        if (body)
            *body = res->body;
        return res->status;
    }

    TempDir m_root;
    std::unique_ptr<updateserver::UpdateServer> m_server;
    std::unique_ptr<httplib::Client> m_client;
};

TEST_F(UpdateServerTest, ServesTheSetAndRefusesNamesOutsideIt)
{
    std::string body;
    EXPECT_EQ(Status("/online/nph-identify", &body), 200);
    EXPECT_EQ(body, "FL:flg00002.inc|1200\r\nCHECKSUM:4711\r\n");
    EXPECT_EQ(Status("/online/nph-get_object/up000001.rcv", &body), 200);
    EXPECT_EQ(body, "article");
    EXPECT_EQ(Status("/online/nph-get_object/absent.rcv"), 404);
    EXPECT_EQ(Status("/elsewhere/nph-identify"), 404);
    for (const char* refused : {"/online/nph-get_object/../secret.txt", "/online/nph-get_object/..%2Fsecret.txt",
                                "/online/nph-get_object/..", "/online/nph-get_object/.",
                                "/online/nph-get_object/a%5C..%5Csecret.txt", "/online/nph-get_object/"}) {
        EXPECT_EQ(Status(refused, &body), 403) << refused;
        EXPECT_EQ(body.find("outside the set"), std::string::npos) << refused;
    }
}

TEST_F(UpdateServerTest, RecordsRequestsIdentifyFieldsAndAcknowledgements)
{
    m_client->set_basic_auth("VL-4711", "secret");
    auto identify = m_client->Post("/online/nph-identify", "ISP_USED=ptdgenrc.dll&VERSION=3.0.3.508",
                                   "application/x-www-form-urlencoded");
    ASSERT_TRUE(identify);
    EXPECT_EQ(identify->status, 200);
    auto ack = m_client->Post("/online/nph-ack_message", "MESSAGE_ID=AB012345", "application/x-www-form-urlencoded");
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->status, 200);
    EXPECT_EQ(ack->body, "ACK AB012345\r\n");
    auto noId = m_client->Post("/online/nph-ack_message", "", "application/x-www-form-urlencoded");
    ASSERT_TRUE(noId);
    EXPECT_EQ(noId->status, 400);

    const auto requests = m_server->Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].name, "nph-identify");
    EXPECT_EQ(requests[0].form.at("ISP_USED"), "ptdgenrc.dll");
    EXPECT_EQ(requests[0].form.at("VERSION"), "3.0.3.508");
    EXPECT_TRUE(requests[0].hasCredentials);
    EXPECT_EQ(requests[0].user, "VL-4711");
    EXPECT_EQ(requests[0].password, "secret");
    EXPECT_EQ(m_server->Acknowledged(), std::vector<std::string>{"AB012345"});
}

TEST_F(UpdateServerTest, MessageLinesAfterTheChecksumGive250)
{
    m_root.Write("set/online.upd", "FL:flg00002.inc|1200\r\nCHECKSUM:4711\r\nMSG:AB012345|1|Welcome\r\n");
    EXPECT_EQ(Status("/online/nph-identify"), 250);
}

TEST_F(UpdateServerTest, FaultsCountDownSoThatARetrySucceeds)
{
    m_server->AddFault("nph-get_object/up000001.rcv", Fault::WithStatus(500, "Busy"), 2);
    m_server->AddFault("*", Fault::WithStatus(412, "Everything"), 1);
    EXPECT_EQ(Status("/online/nph-get_object/up000001.rcv"), 500);
    EXPECT_EQ(Status("/online/nph-identify"), 412);
    EXPECT_EQ(Status("/online/nph-get_object/up000001.rcv"), 500);
    EXPECT_EQ(Status("/online/nph-get_object/up000001.rcv"), 200);
    EXPECT_EQ(Status("/online/nph-identify"), 200);
}

TEST_F(UpdateServerTest, ReachableOn127001Only)
{
    httplib::Client other("127.0.0.2", m_server->Port());
    other.set_connection_timeout(2);
    EXPECT_FALSE(other.Get("/online/nph-identify")) << "the server answered on 127.0.0.2";
    // The listening socket's own address, as the kernel lists it.
    std::ifstream tcp("/proc/net/tcp");
    std::string line;
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, ":%04X", m_server->Port());
    bool listening = false;
    while (std::getline(tcp, line)) {
        std::istringstream in(line);
        std::string slot, local, remote, state;
        in >> slot >> local >> remote >> state;
        if (state == "0A" && local.size() > 8 && local.substr(8) == wanted) {
            EXPECT_EQ(local.substr(0, 8), "0100007F") << "listening on " << local;
            listening = true;
        }
    }
    EXPECT_TRUE(listening);
}

TEST(UpdateServerFaults, ParsedFromTheProgramsOptions)
{
    struct Parsed {
        const char* text;
        bool ok;
        std::string name;
        Fault::Kind kind;
        int count;
    };
    const std::vector<Parsed> cases = {
        {"nph-identify=status:410:Version retired: upgrade@2", true, "nph-identify", Fault::Kind::Status, 2},
        {"nph-get_object/a.bin=cut:100", true, "nph-get_object/a.bin", Fault::Kind::CutBody, 1},
        {"*=close@0", true, "*", Fault::Kind::CloseBeforeHeaders, 0},
        {"x=slow:1024:50", true, "x", Fault::Kind::Slow, 1},
        {"x=stall:0:90000", true, "x", Fault::Kind::Stall, 1},
        {"x=length:-10", true, "x", Fault::Kind::WrongLength, 1},
        {"x=redirect:host:nph-identify:301", true, "x", Fault::Kind::Redirect, 1},
        {"x=chunked:4096", true, "x", Fault::Kind::Chunked, 1},
        {"x=chunked:0", false, "", Fault::Kind::Status, 0},
        {"x=redirect:nowhere:y", false, "", Fault::Kind::Status, 0},
        {"x=status:abc", false, "", Fault::Kind::Status, 0},
        {"x=cut", false, "", Fault::Kind::Status, 0},
        {"x=slow:1024:50@many", false, "", Fault::Kind::Status, 0},
        {"=close", false, "", Fault::Kind::Status, 0},
        {"x=explode", false, "", Fault::Kind::Status, 0},
    };
    for (const Parsed& p : cases) {
        SCOPED_TRACE(p.text);
        std::string name, error;
        Fault fault;
        int count = -1;
        const bool ok = updateserver::ParseFault(p.text, name, fault, count, error);
        EXPECT_EQ(ok, p.ok);
        if (!ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(name, p.name);
        EXPECT_EQ(fault.kind, p.kind);
        EXPECT_EQ(count, p.count);
    }
    std::string name, error;
    Fault fault;
    int count = 0;
    ASSERT_TRUE(updateserver::ParseFault("a=status:410:Version retired: upgrade", name, fault, count, error));
    EXPECT_EQ(fault.status, 410);
    EXPECT_EQ(fault.reason, "Version retired: upgrade");
    ASSERT_TRUE(updateserver::ParseFault("a=redirect:scheme:b:307", name, fault, count, error));
    EXPECT_EQ(fault.where, Fault::Where::OtherScheme);
    EXPECT_EQ(fault.target, "b");
    EXPECT_EQ(fault.status, 307);
}

}  // namespace
