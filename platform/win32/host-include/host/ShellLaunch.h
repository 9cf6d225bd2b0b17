// The host side of the shell's starts (ShellExecute of an address or a document): which host
// program they run, and a spy for tests. Not part of the platform's interface.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace host {

// Every host program start of the shell goes to the spy while one is set, instead of starting
// anything: it receives the argv (the program, then its arguments) and answers whether the
// start succeeded. An empty function removes the spy.
using LaunchSpy = std::function<bool(const std::vector<std::string>& argv)>;
void SetLaunchSpy(LaunchSpy spy);

// The argv the shell runs to open an address: the program named by the host setting VL_BROWSER
// (a host path), else "xdg-open", then the address as one argument.
std::vector<std::string> BrowserArgv(const std::string& url);

}  // namespace host
