// The DDE management library: a server instance on a thread of its own, clients connecting to
// its service, requesting items, and data handles.
#include <windows.h>
#include <ddeml.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace {

DWORD g_server = 0;
std::atomic<int> g_disconnects{0};

HDDEDATA CALLBACK ServerCallback(UINT type, UINT format, HCONV, HSZ topic, HSZ item, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    char text[64] = {};
    switch (type) {
    case XTYP_CONNECT:
        DdeQueryStringA(g_server, topic, text, sizeof text, CP_WINANSI);
        return reinterpret_cast<HDDEDATA>(std::strcmp(text, "Refused") != 0 ? 1 : 0);
    case XTYP_REQUEST: {
        DdeQueryStringA(g_server, item, text, sizeof text, CP_WINANSI);
        if (std::strcmp(text, "Slow") == 0)
            Sleep(1500);
        else if (std::strcmp(text, "Known") != 0 || format != CF_TEXT)
            return nullptr;
        std::string answer = std::string("value of ") + text;
        return DdeCreateDataHandle(g_server, reinterpret_cast<LPBYTE>(answer.data()),
                                   static_cast<DWORD>(answer.size() + 1), 0, item, format, 0);
    }
    case XTYP_DISCONNECT:
        ++g_disconnects;
        return nullptr;
    default:
        return nullptr;
    }
}

// A server instance with the service "TestService" on a thread that pumps messages.
class DdeServer {
public:
    DdeServer()
    {
        m_thread = std::thread([this] {
            g_server = 0;
            EXPECT_EQ(DdeInitializeA(&g_server, ServerCallback, APPCLASS_STANDARD, 0), DMLERR_NO_ERROR);
            HSZ service = DdeCreateStringHandleA(g_server, "TestService", CP_WINANSI);
            EXPECT_NE(DdeNameService(g_server, service, nullptr, DNS_REGISTER), nullptr);
            m_threadId = GetCurrentThreadId();
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0)
                DispatchMessageA(&msg);
            DdeUninitialize(g_server);
        });
        while (m_threadId == 0)
            Sleep(5);
    }
    ~DdeServer()
    {
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }

private:
    std::thread m_thread;
    std::atomic<DWORD> m_threadId{0};
};

}  // namespace

TEST(DdeTest, ClientRequestsItemsOfAServerOnAnotherThread)
{
    DdeServer server;
    DWORD client = 0;
    ASSERT_EQ(DdeInitializeA(&client, nullptr, APPCMD_CLIENTONLY, 0), DMLERR_NO_ERROR);
    HSZ service = DdeCreateStringHandleA(client, "testservice", CP_WINANSI);  // names ignore case
    HSZ topic = DdeCreateStringHandleA(client, "Topic", CP_WINANSI);
    EXPECT_EQ(service, DdeCreateStringHandleA(client, "TESTSERVICE", CP_WINANSI));
    HCONV conversation = DdeConnect(client, service, topic, nullptr);
    ASSERT_NE(conversation, nullptr);

    HSZ known = DdeCreateStringHandleA(client, "Known", CP_WINANSI);
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, known, CF_TEXT, XTYP_REQUEST, 5000, nullptr);
    ASSERT_NE(data, nullptr);
    char text[64] = {};
    EXPECT_EQ(DdeGetData(data, nullptr, 0, 0), 15u);
    EXPECT_EQ(DdeGetData(data, reinterpret_cast<LPBYTE>(text), 5, 0), 5u);  // at most what fits
    EXPECT_EQ(DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text, 0), 15u);
    EXPECT_STREQ(text, "value of Known");
    EXPECT_TRUE(DdeFreeDataHandle(data));
    EXPECT_FALSE(DdeFreeDataHandle(data));
    EXPECT_EQ(DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text, 0), 0u);

    // An item the server does not have, a format it does not serve, a server too slow.
    HSZ unknown = DdeCreateStringHandleA(client, "Unknown", CP_WINANSI);
    EXPECT_EQ(DdeClientTransaction(nullptr, 0, conversation, unknown, CF_TEXT, XTYP_REQUEST, 5000, nullptr), nullptr);
    EXPECT_EQ(DdeGetLastError(client), static_cast<UINT>(DMLERR_NOTPROCESSED));
    EXPECT_EQ(DdeClientTransaction(nullptr, 0, conversation, known, 2, XTYP_REQUEST, 5000, nullptr), nullptr);
    HSZ slow = DdeCreateStringHandleA(client, "Slow", CP_WINANSI);
    EXPECT_EQ(DdeClientTransaction(nullptr, 0, conversation, slow, CF_TEXT, XTYP_REQUEST, 100, nullptr), nullptr);
    EXPECT_EQ(DdeGetLastError(client), static_cast<UINT>(DMLERR_DATAACKTIMEOUT));
    EXPECT_EQ(DdeClientTransaction(nullptr, 0, conversation, known, CF_TEXT, 0x4090, 5000, nullptr), nullptr);

    // A topic the server refuses and a service nobody offers.
    HSZ refused = DdeCreateStringHandleA(client, "Refused", CP_WINANSI);
    EXPECT_EQ(DdeConnect(client, service, refused, nullptr), nullptr);
    HSZ nobody = DdeCreateStringHandleA(client, "Nobody", CP_WINANSI);
    EXPECT_EQ(DdeConnect(client, nobody, topic, nullptr), nullptr);
    EXPECT_EQ(DdeGetLastError(client), static_cast<UINT>(DMLERR_NO_CONV_ESTABLISHED));

    int before = g_disconnects;
    EXPECT_TRUE(DdeDisconnect(conversation));
    EXPECT_EQ(g_disconnects, before + 1);
    EXPECT_FALSE(DdeDisconnect(conversation));
    EXPECT_EQ(DdeClientTransaction(nullptr, 0, conversation, known, CF_TEXT, XTYP_REQUEST, 5000, nullptr), nullptr);
    EXPECT_TRUE(DdeUninitialize(client));
    EXPECT_FALSE(DdeUninitialize(client));
}
