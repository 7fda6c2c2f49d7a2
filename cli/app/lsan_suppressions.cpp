// Sanitizer builds only: the font caches that fontconfig (under cairo's text) keeps for the life
// of the process are reported as leaks at exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
