// The command line: plughost info | render | demo, with their options.
#pragma once

/// Parses the arguments, runs the command and answers the exit status. Errors
/// are reported on standard error as one line each.
int runCommandLine(int argc, char** argv);
