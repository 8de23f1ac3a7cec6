// The program's version, "1.1.8.0": the project version of the top CMakeLists.txt, the one place
// where it is written.
#pragma once

const char* ProgramVersion();
