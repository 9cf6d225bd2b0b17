// A library that only carries a name: a test loads it so that a process holds a module of that
// name.
extern "C" __attribute__((visibility("default"))) int NamedLibraryLoaded() { return 1; }
