// The message boxes of a process, written down for another process to read: when the
// environment variable VL_MESSAGEBOX_LOG names a host file, every message box a process of the
// platform shows is appended to it as one line, so that a test that starts programs as processes
// sees the boxes they showed (headless, a process's boxes are answered by its own UI script or by
// their default button).
//
// A line: the process id, the caption, the text, the box type (hexadecimal) and the answer, each
// ended by a tab but the last; a tab, a new line or a backslash in the caption or text is written
// as \t, \n or \\. A line is appended with one write, so lines of processes that show boxes at the
// same time do not mix.
#pragma once

#include <host/UiScript.h>

namespace host {

void AppendMessageBoxToLogFile(const MessageBoxRecord& box);

}  // namespace host
