// The connection family's outcome record and its status numbering.
//
// Every operation of the connection engine, the settings library and the dialer libraries answers
// a status code 0x4001 + n; the engine hands richer outcomes to its callers in a CStatus record
// (major code and text, minor code and text, the raw system or protocol code). The record is a
// plain value: no base, no virtual members, fixed-size text fields, so it can be copied whole
// between the engine, its callers and the plug-ins.
#pragma once

#include <afx.h>

#include <cstring>
#include <string>

// Status codes (16385 + n).
enum : int {
    PTX_NOT_CONFIGURED = 16385,        // also: unknown connection type, no browser set
    PTX_NOT_INITIALIZED = 16386,
    PTX_FILE_ERROR = 16387,
    PTX_REMOTE_ERROR = 16388,
    PTX_MEMORY_ERROR = 16389,
    PTX_SERVER_ERROR = 16390,
    PTX_UNKNOWN_ERROR = 16391,
    PTX_SUCCESS = 16401,
    PTX_CONFIG_CHANGED = 16402,
    PTX_CONFIG_UNCHANGED = 16403,
    PTX_LIBRARY_NOT_NAMED = 16404,
    PTX_LIBRARY_NOT_LOADED = 16405,
    PTX_NO_REQUEST_ENTRY = 16406,
    PTX_NO_CONNECT_ENTRY = 16407,
    PTX_NO_DISCONNECT_ENTRY = 16408,
    PTX_NO_ISCONNECTED_ENTRY = 16409,
    PTX_NO_ISP_INITIALIZE = 16410,
    PTX_SUPPORT_NOT_INITIALIZED = 16411,
    PTX_NO_LAUNCHBROWSER_ENTRY = 16412,
    PTX_NO_SETUPWINSOCK_ENTRY = 16413,
    PTX_NO_HOSTAVAILABLE_ENTRY = 16414,
    PTX_NO_CANCEL_ENTRY = 16415,
    PTX_PROVIDER_CONNECTED = 16421,
    PTX_CONNECTED_NOT_OURS = 16422,    // the caller must not end this connection
    PTX_PROVIDER_NOT_CONNECTED = 16423,
    PTX_ESTABLISHED = 16424,
    PTX_NOT_ESTABLISHED = 16425,
    PTX_ALWAYS_ESTABLISHED = 16426,    // nothing to dial or end
    PTX_NOT_SUPPORTED = 16427,
    PTX_DEST_FILE_ERROR = 16428,
    PTX_FILE_NOT_FOUND = 16429,
    PTX_PATH_NOT_FOUND = 16430,
    PTX_INVALID_EXECUTABLE = 16431,
    PTX_URL_PARSE_ERROR = 16454,
    PTX_URL_UNSUPPORTED_SERVICE = 16455,
    PTX_URL_UNKNOWN_SERVICE = 16456,
    PTX_XFER_PENDING = 16464,
    PTX_XFER_REQUESTING_ATTACHMENT = 16465,
    PTX_XFER_ATTACHMENT_RECEIVED = 16466,
    PTX_XFER_BEGUN = 16467,
    PTX_XFER_IN_PROCESS = 16468,
    PTX_XFER_ENDED = 16469,
    PTX_XFER_CANCELLED = 16470,
    PTX_UNKNOWN_ERROR_2 = 16483,       // same meaning as 16391
    PTX_SOCKETS_FAILED = 16485,
    PTX_HOST_CONNECTION_LOST = 16490,
    PTX_NO_VALID_HEADER = 16491,
    PTX_REMOTE_OK = 16492,
    PTX_REMOTE_FAILURE = 16493,
    PTX_NO_ROUTE = 16494,
    PTX_REMOTE_RESET = 16495,
    PTX_ABORTED_LOCALLY = 16496,
    PTX_NO_RESOURCES = 16497,
    PTX_REMOTE_CLOSED = 16498,
    PTX_NO_ACCESS = 16499,
    PTX_HOST_NOT_FOUND = 16500,
    PTX_HOST_NAME_REQUIRED = 16501,
};

class CStatus {
public:
    enum { DescSize = 256 };

    // Copies all five fields whole, bytes after a text's terminator included.
    CStatus& operator=(const CStatus& other)
    {
        if (this != &other) {
            m_majorCode = other.m_majorCode;
            std::memcpy(m_majorDesc, other.m_majorDesc, sizeof m_majorDesc);
            m_minorCode = other.m_minorCode;
            std::memcpy(m_minorDesc, other.m_minorDesc, sizeof m_minorDesc);
            m_rawStatusCode = other.m_rawStatusCode;
        }
        return *this;
    }

    long GetMajorCode() const { return m_majorCode; }
    long GetMinorCode() const { return m_minorCode; }
    long GetRawStatusCode() const { return m_rawStatusCode; }
    CString GetMajorDesc() const { return CString(Terminated(m_majorDesc).c_str()); }
    CString GetMinorDesc() const { return CString(Terminated(m_minorDesc).c_str()); }
    void SetRawStatusCode(long code) { m_rawStatusCode = static_cast<int>(code); }

    // The engine's own setters: it fills the record before each callback.
    void SetMajor(long code, const char* desc)
    {
        m_majorCode = static_cast<int>(code);
        SetText(m_majorDesc, desc);
    }
    void SetMinor(long code, const char* desc)
    {
        m_minorCode = static_cast<int>(code);
        SetText(m_minorDesc, desc);
    }

    // Marks the transfer of this report finished by its caller. A report that was not final
    // (16464 to 16468) then reads 16469, which tells the engine, when the callback returns, to stop
    // the transfer and report nothing more of it; a final report stays as it is.
    void SetXferEnd()
    {
        if (m_majorCode >= PTX_XFER_PENDING && m_majorCode < PTX_XFER_ENDED)
            m_majorCode = PTX_XFER_ENDED;
    }

    // Public so that the record stays a plain aggregate-like value of fixed layout.
    int m_majorCode = 0;
    char m_majorDesc[DescSize] = {};
    int m_minorCode = 0;
    char m_minorDesc[DescSize] = {};
    int m_rawStatusCode = 0;

private:
    // A field that lost its terminator still reads as at most DescSize characters.
    static std::string Terminated(const char (&field)[DescSize])
    {
        return std::string(field, strnlen(field, DescSize));
    }
    static void SetText(char (&field)[DescSize], const char* text)
    {
        std::memset(field, 0, DescSize);
        if (text)
            std::strncpy(field, text, DescSize - 1);
    }
};
