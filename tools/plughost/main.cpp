// plughost: a command-line host for plug-ins of the VST 2.4 interface.
#include "CommandLine.h"

int main(int argc, char** argv) { return runCommandLine(argc, argv); }
