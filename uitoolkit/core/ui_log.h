// The toolkit's log: one line per event worth telling a developer or a skin author (a hosted
// control that cannot be created, for one). Lines go to a replaceable sink; the default sink
// writes them to the debugger (OutputDebugStringW). A program sets its own sink once, before it
// creates windows (the skin viewer writes the lines to its error stream).
#pragma once

namespace SkinUI {

// Receives one line, without its end of line.
using LogSinkUI = void (*)(const wchar_t* line);

// Replaces the sink; null restores the default. Answers the sink that was in force.
LogSinkUI SetLogSink(LogSinkUI sink);
// Hands `line` to the sink.
void LogLine(const wchar_t* line);

}  // namespace SkinUI
