// Compiled with one library's include path: PROBE_HEADER must be reachable when PROBE_VISIBLE is
// 1 and must not be when it is 0. A header a library may not see then fails that library's build.
#if __has_include(PROBE_HEADER) != PROBE_VISIBLE
#error "layering broken: the visibility of PROBE_HEADER is not PROBE_VISIBLE"
#endif
