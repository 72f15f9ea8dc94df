// Runs the built VeskSetup.exe as a separate process and checks what it left behind.
#include <gtest/gtest.h>

int placeholder_unused = 0;
