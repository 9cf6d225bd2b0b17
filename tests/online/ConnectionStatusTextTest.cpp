// The status sentences of the connection family, and the status record they go with.
#include "online/ConnectionStatusText.h"

#include <portix/Status.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kUnknown[] = "An unknown or undocumented error has occurred.";

TEST(ConnectionStatusText, EveryCodeHasItsSentence)
{
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {16385, "Portix is not configured."},
        {16386, "Portix is not initialized"},
        {16387, "A file error occurred."},
        {16388, "A remote error has occurred."},
        {16389, "A memory error has occurred."},
        {16390, "A server error has occurred."},
        {16391, "An unknown error has occurred."},
        {16401, "The operation was completed successfully."},
        {16402, "The configuration has been changed."},
        {16403, "The configuration has not been changed"},
        {16404, "A required DLL is not defined."},
        {16405, "A required DLL could not be loaded."},
        {16406, "Could not load RequestUrl()'s entry point from a DLL."},
        {16407, "Could not load dlrConnect()'s entry point from a DLL."},
        {16408, "Could not load dlrDisconnect()'s entry point from a DLL."},
        {16409, "Could not load dlrIsConnected()'s entry point from a DLL."},
        {16410, "Could not load ispInitialize()'s entry point from a DLL."},
        {16411, "The support DLL did not initialize."},
        {16412, "Could not load dlrLaunchBrowser()'s entry point from a DLL."},
        {16413, "Could not load dlrSetupWinsock()'s entry point from a DLL."},
        {16414, "Could not load ispIsHostAvailable()'s entry point from a DLL."},
        {16415, "Could not load ispCancel()'s entry point from a DLL."},
        {16421, "The user's ISP is connected."},
        {16422, kUnknown},
        {16423, "The user's ISP is not connected."},
        {16424, "The connection is established."},
        {16425, "The connection is not established."},
        {16426, "The connection is always established."},
        {16427, "The operation is not supported."},
        {16428, "A destination file error has occurred."},
        {16429, "The specified file was not found."},
        {16430, "The specified path was not found."},
        {16431, "The specified executable was invalid."},
        {16454, "An Internet URL parse error has occurred."},
        {16455, "A URL requested an unsupported service"},
        {16456, "A URL requested an unknown service"},
        {16464, "The URL transfer is pending."},
        {16465, "The URL transfer is requesting attachment."},
        {16466, "The URL transfer attachment has been received."},
        {16467, "The URL transfer has begun."},
        {16468, "The URL transfer is in process."},
        {16469, "The URL transfer has ended."},
        {16470, "The URL transfer has been cancelled."},
        {16483, "An unknown error has occurred."},
        {16485, "Winsock has failed to load."},
        {16490, "The connection to host has been lost."},
        {16491, "The host has broken connection without a valid HTTP response header."},
        {16492, "The remote operation was successful."},
        {16493, "General failure occurred with remote connection."},
        {16494, "No route to host."},
        {16495, "Remote connection was reset."},
        {16496, "Transfer aborted by local system."},
        {16497, "Not enough resources for remote connection."},
        {16498, "Remote connection was closed."},
        {16499, "Remote connection has no access."},
        {16500, "Remote connection to host was not found."},
        {16501, "A Hostname is required"},
        // Codes without a sentence.
        {16392, kUnknown}, {16420, kUnknown}, {16384, kUnknown}, {16502, kUnknown}, {0, kUnknown},
        {1, kUnknown}, {-16385, kUnknown},
    };
    int withText = 0;
    for (const Case& c : cases) {
        EXPECT_STREQ(GetConnectionStatusText(c.code), c.text) << c.code;
        withText += std::strcmp(c.text, kUnknown) != 0;
    }
    EXPECT_EQ(withText, 56) << "every sentence of the table was checked";
    // Every code between the ends that the table does not name is unknown.
    for (int code = 16385; code <= 16501; ++code) {
        bool listed = false;
        for (const Case& c : cases)
            listed |= c.code == code && std::strcmp(c.text, kUnknown) != 0;
        if (!listed) {
            EXPECT_STREQ(GetConnectionStatusText(code), kUnknown) << code;
        }
    }
}

TEST(ConnectionStatusText, OnlineErrorsHaveTheirOwnSentencesFirst)
{
    const std::string programFiles =
        "An error occurred attempting to load the Veltra Online program files. Files may have been corrupted. "
        "Please re-configure and try again. If the problem persists, you may need to re-install Veltra.";
    struct Case {
        int code;
        std::string text;
    };
    const Case cases[] = {
        {16405, programFiles},
        {16406, programFiles},
        {16410, programFiles},
        {16411, programFiles},
        {16404, "An error occurred attempting to load the Veltra Online configuration files. Please re-configure "
                "and try again."},
        {1, "An error occurred requesting information from the Veltra Online site. Please try again. If the "
            "problem persists, you may need to re-install Veltra."},
        {16385, "You have not configured Veltra online connection by selecting an Internet Service Provider."},
        {16401, "The operation was completed successfully."},
        {16407, "Could not load dlrConnect()'s entry point from a DLL."},
        {16422, kUnknown},
        {16392, kUnknown},
        {16502, kUnknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(GetOnlineErrorText(c.code)), c.text) << c.code;
}

TEST(ConnectionStatusText, SharedTextsOfTheOnlineOperations)
{
    EXPECT_STREQ(g_szProviderCannotConnect,
                 "The Internet Service Provider that you are configured for cannot be connected to from within "
                 "Veltra.  To connect you must use software provided by your Internet Service Provider.");
    EXPECT_STREQ(g_szProviderNotConnected,
                 "Your Internet Service Provider is not connected. To connect, exit Veltra and start your Internet "
                 "Service Provider. Open Veltra, and retry this operation.");
    EXPECT_STREQ(g_szProviderCannotDisconnect,
                 "The Internet Service Provider that you are configured for cannot be disconnected by Veltra.  To "
                 "disconnect you must use software provided by your Internet Service Provider.");
    EXPECT_STREQ(g_szProviderInitFailed,
                 "A problem has occurred initializing your Internet service provider.  Online services will be "
                 "disabled until Windows is restarted.");
    EXPECT_STREQ(g_szTransferInterrupted,
                 "The file transfer process has been interrupted.  Your Internet service provider may be "
                 "experiencing network problems.  To attempt to download again, click \"Retry\".  Downloading may "
                 "be more successful during off-peak hours.  If this problem persists, you may want to contact "
                 "your Internet service provider.  (16498)");
}

TEST(StatusRecord, AssignmentCopiesWholeFields)
{
    CStatus source;
    source.SetMajor(PTX_XFER_ENDED, "ended");
    source.SetMinor(1234, "bytes");
    source.SetRawStatusCode(-7);
    // Bytes after the terminators, which a text copy would not carry.
    std::memcpy(source.m_majorDesc + 6, "hidden", 6);
    source.m_minorDesc[CStatus::DescSize - 1] = 'Z';

    CStatus target;
    std::memset(target.m_majorDesc, 'x', sizeof target.m_majorDesc);
    std::memset(target.m_minorDesc, 'y', sizeof target.m_minorDesc);
    CStatus& result = (target = source);
    EXPECT_EQ(&result, &target);
    EXPECT_EQ(target.GetMajorCode(), PTX_XFER_ENDED);
    EXPECT_EQ(target.GetMinorCode(), 1234);
    EXPECT_EQ(target.GetRawStatusCode(), -7);
    EXPECT_EQ(std::memcmp(target.m_majorDesc, source.m_majorDesc, CStatus::DescSize), 0);
    EXPECT_EQ(std::memcmp(target.m_minorDesc, source.m_minorDesc, CStatus::DescSize), 0);
    EXPECT_STREQ(target.GetMajorDesc(), "ended");
    EXPECT_STREQ(target.GetMinorDesc(), "bytes");

    // A description without a terminator reads as its whole field, never beyond it.
    std::memset(target.m_majorDesc, 'a', sizeof target.m_majorDesc);
    EXPECT_EQ(target.GetMajorDesc().GetLength(), CStatus::DescSize);
    // Its text is the outcome the code names.
    EXPECT_STREQ(GetConnectionStatusText(target.GetMajorCode()), "The URL transfer has ended.");
}

}  // namespace
