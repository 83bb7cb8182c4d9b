/* Preloaded into the program by environment_test.sh: every change of the
 * environment made while the process has more than one thread is reported on
 * stderr ("envguard: ..."), since another thread may be reading the
 * environment meanwhile. */
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

static int Threads(void) {
    DIR* tasks = opendir("/proc/self/task");
    int count = 0;
    if (!tasks)
        return 0;
    for (struct dirent* entry; (entry = readdir(tasks));)
        count += entry->d_name[0] != '.';
    closedir(tasks);
    return count;
}

static void Check(const char* call, const char* name) {
    const int threads = Threads();
    if (threads > 1)
        fprintf(stderr, "envguard: %s(%s) with %d threads\n", call, name, threads);
}

int setenv(const char* name, const char* value, int overwrite) {
    Check("setenv", name);
    return ((int (*)(const char*, const char*, int))dlsym(RTLD_NEXT, "setenv"))(name, value, overwrite);
}

int unsetenv(const char* name) {
    Check("unsetenv", name);
    return ((int (*)(const char*))dlsym(RTLD_NEXT, "unsetenv"))(name);
}

int putenv(char* text) {
    Check("putenv", text);
    return ((int (*)(char*))dlsym(RTLD_NEXT, "putenv"))(text);
}

int clearenv(void) {
    Check("clearenv", "");
    return ((int (*)(void))dlsym(RTLD_NEXT, "clearenv"))();
}
