// A shared library that is no visualization plug-in: it lacks winampVisGetHeader.
extern "C" __attribute__((visibility("default"))) int notAVisualization() {
    return 42;
}
