// Resource ids of the engine's connection dialog.
#pragma once

#define IDD_PORTIX_CONFIGURE 100
#define IDC_PTX_TYPES 1001
#define IDC_PTX_SETTINGS 1002
#define IDC_PTX_HTTP_PROXY 1003
#define IDC_PTX_HTTP_PORT 1004
#define IDC_PTX_NO_PROXY 1005
#define IDC_PTX_FIREWALL 1006
#define IDC_PTX_SOCKS_HOST 1007
#define IDC_PTX_SOCKS_PORT 1008
#define IDC_PTX_LOGGING 1009
