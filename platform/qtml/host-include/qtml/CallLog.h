// The record of the calls that programs made through the movie library's client interface, in
// order: the entry's name, and for MCDoAction its action and parameter ("MCDoAction 8 65536").
// Calls that only pass events on (WinEventToMacEvent, MCIsPlayerEvent, GetNativeWindowPort
// outside the movie calls, MCGetControllerInfo) are kept apart so that the order of the
// movie calls reads plainly: they are recorded only while RecordEventCalls(true).
//
// Not part of the platform's interface: tests use it.
#pragma once

#include <string>
#include <vector>

namespace qtml_host {

std::vector<std::string> CallLog();
void ClearCallLog();
void RecordEventCalls(bool record);

}  // namespace qtml_host
