#pragma once

namespace wv {
// The program entry: application object, main window, start-up, message loop.
int RunProgram(int argc, char** argv);
} // namespace wv
