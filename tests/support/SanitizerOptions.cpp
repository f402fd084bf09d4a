// Linked into every test program of the sanitizer build, so that a test run
// by CTest, by gtest_discover_tests at build time or by hand reports the same
// way: undefined behaviour stops the program (a failed test), and leaks are
// looked for with the suppressions of third-party leaks (lsan.supp, and for
// the widget test programs lsan-widgets.supp as well).
// Options given in the environment still come on top.

extern "C" {

const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

const char *__lsan_default_options()
{
    return "suppressions=" POMELARK_LSAN_SUPPRESSIONS;
}

} // extern "C"
