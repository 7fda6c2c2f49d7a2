// Sanitizer builds only: caches that fontconfig and PLplot's driver loader (libltdl) keep for the
// life of the process are reported as leaks at exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libltdl.so\n";
}
