// A loadable module with no VST 2.4 entry point.
extern "C" __attribute__((visibility("default"))) int kest_not_a_plugin_marker() { return 42; }
