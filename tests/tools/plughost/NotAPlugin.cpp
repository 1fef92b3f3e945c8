// A library that loads but exports no entry point.
extern "C" int notAnEntryPoint() { return 0; }
