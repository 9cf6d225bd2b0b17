// The start-up code of a plain program of the platform (one without the class library): the host's
// main hands the program's instance, its command line after the program's name and the show
// command its starter asked for to the program's WinMain; what WinMain returns is the exit code.
#include <windows.h>

#include <host/Process.h>

#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

int main(int argc, char** argv)
{
    // Started from the host: its arguments joined, quoted where they hold blanks.
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (!line.empty())
            line += ' ';
        bool blank = std::strpbrk(argv[i], " \t") != nullptr || argv[i][0] == '\0';
        if (blank)
            line += '"';
        line += argv[i];
        if (blank)
            line += '"';
    }
    std::string arguments = host::StartupArguments(line);
    return WinMain(GetModuleHandle(nullptr), nullptr, arguments.data(), host::StartupShowCommand(SW_SHOWNORMAL));
}
