/* Preloaded into a program (LD_PRELOAD) to make it a machine without
 * PostgreSQL's client library: dlopen of libpq fails as for a file that is
 * not there; every other library loads as usual. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stddef.h>
#include <string.h>

void* dlopen(const char* file, int mode) {
  static void* (*next)(const char*, int);
  if (file != NULL) {
    const char* base = strrchr(file, '/');
    base = base != NULL ? base + 1 : file;
    if (strncmp(base, "libpq.", 6) == 0) return NULL;
  }
  if (next == NULL) {
    void* found = dlsym(RTLD_NEXT, "dlopen");
    memcpy(&next, &found, sizeof found);
  }
  return next != NULL ? next(file, mode) : NULL;
}
