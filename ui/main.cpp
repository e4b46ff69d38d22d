// Umbrascope: watches whether a list of messenger numbers are online.

#include "ui/startup.h"

int main(int argc, char** argv) { return umbra::ui::RunProgram(argc, argv); }
