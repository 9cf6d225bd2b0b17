// CPortix: the engine object callers hold. Every object reaches the one process-wide core.
#include "Connection.h"
#include "Engine.h"

namespace {
const int kPortixVersion = 3;
}

CPortix::CPortix()
{
    portix::Core::Get();  // the worker is ready before the first request
}

CPortix::~CPortix() = default;

int CPortix::SetAuthorizationInfo(CAuthorizationInfo& info)
{
    if (info.m_strHost.IsEmpty())
        return PTX_HOST_NAME_REQUIRED;
    portix::Core::Get().SetIdentity(info);
    return PTX_SUCCESS;
}

int CPortix::RequestUrl(CRequestUrl* pRequest)
{
    return portix::Core::Get().Submit(pRequest, this);
}

int CPortix::Cancel(CRequestUrl* pRequest)
{
    return portix::Core::Get().Cancel(pRequest);
}

int CPortix::Close()
{
    portix::Core::Get().CancelAll(this);
    return PTX_SUCCESS;
}

int CPortix::GetPortixVersion()
{
    return kPortixVersion;
}

int CPortix::Initialize()
{
    return portix::Connection::Get().Initialize();
}

int CPortix::Configure()
{
    return portix::Connection::Get().Configure();
}

int CPortix::Connect()
{
    return portix::Connection::Get().Connect();
}

int CPortix::Disconnect()
{
    return portix::Connection::Get().Disconnect();
}

int CPortix::IsConnected()
{
    return portix::Connection::Get().IsConnected();
}

int CPortix::LaunchBrowser(CString& strUrl)
{
    return portix::Connection::Get().LaunchBrowser(strUrl);
}

CString CPortix::GetDialerDll()
{
    return portix::Connection::Get().DialerDll();
}
