// Another process of the same user for the remote-access tests: "dial <entry>" dials and exits
// with the new handle (0 when the dial failed); "hangup <handle>" exits with RasHangUp's result.
#include <ras.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 255;
    if (std::strcmp(argv[1], "dial") == 0) {
        RASDIALPARAMS params{};
        params.dwSize = sizeof params;
        lstrcpynA(params.szEntryName, argv[2], sizeof params.szEntryName);
        lstrcpynA(params.szUserName, "peer", sizeof params.szUserName);
        HRASCONN connection = 0;
        const DWORD error = RasDial(NULL, NULL, &params, 0, NULL, &connection);
        return error == 0 ? static_cast<int>(connection) : 0;
    }
    if (std::strcmp(argv[1], "hangup") == 0)
        return static_cast<int>(RasHangUp(static_cast<HRASCONN>(std::strtoul(argv[2], NULL, 10))));
    return 255;
}
