// Time from exec to the first verse on the screen.
//
//   first_verse [-w WINDOW] [-c RRGGBB] [-t SECONDS] -- PROGRAM ARGS...
//
// Starts PROGRAM, then watches a band across the middle of WINDOW (the root
// window by default) on $DISPLAY until a pixel of the verse's text colour
// (cyan, the default font colour, unless -c says otherwise) appears there.
// Prints the milliseconds from just before exec and the program's pid, and
// leaves the program running; exits 1 when nothing shows within the time
// (10 s by default).
#define _POSIX_C_SOURCE 200809L
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// True when the band holds a pixel of `colour`. The verse's first line is
// centred across and from top to bottom, so the text crosses the middle of
// the window: a band 1200 wide and 100 high there is enough, and keeps each
// look cheap for the X server. Assumes a 24/32-bit TrueColor ZPixmap (what
// Xvfb and Xorg give at depth 24).
static int band_has_colour(xcb_connection_t* c, xcb_window_t w, uint32_t colour) {
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), NULL);
    if (!g)
        return 0;
    const int width = g->width < 1200 ? g->width : 1200, height = g->height < 100 ? g->height : 100;
    const int left = (g->width - width) / 2, top = g->height / 2 - 20 < 0 ? 0 : g->height / 2 - 20;
    free(g);
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, (int16_t)left, (int16_t)top, (uint16_t)width,
                         (uint16_t)height, ~0u),
        NULL);
    if (!image)
        return 0;
    const uint32_t* pixels = (const uint32_t*)xcb_get_image_data(image);
    const int count = xcb_get_image_data_length(image) / 4;
    int found = 0;
    for (int i = 0; i < count && !found; ++i)
        found = (pixels[i] & 0xFFFFFFu) == colour;
    free(image);
    return found;
}

int main(int argc, char** argv) {
    xcb_window_t window = 0;
    uint32_t colour = 0x00FFFF;
    double limit = 10e3;
    int opt;
    while ((opt = getopt(argc, argv, "w:c:t:")) != -1) {
        if (opt == 'w')
            window = (xcb_window_t)strtoul(optarg, NULL, 0);
        else if (opt == 'c')
            colour = (uint32_t)strtoul(optarg, NULL, 16);
        else if (opt == 't')
            limit = atof(optarg) * 1e3;
        else
            return 2;
    }
    if (optind >= argc) {
        fprintf(stderr, "usage: first_verse [-w WINDOW] [-c RRGGBB] [-t SECONDS] -- PROGRAM ARGS...\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "first_verse: no X display\n");
        return 2;
    }
    if (!window)
        window = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    if (band_has_colour(c, window, colour)) {
        fprintf(stderr, "first_verse: the colour is on the screen already\n");
        return 2;
    }

    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[optind], argv + optind);
        _exit(127);
    }
    while (now_ms() - start < limit) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "first_verse: the program ended before its first verse (status 0x%x)\n", status);
            return 1;
        }
        if (band_has_colour(c, window, colour)) {
            printf("%.0f ms %d\n", now_ms() - start, (int)pid);
            return 0;
        }
        nanosleep(&(struct timespec){0, 2000000}, NULL);
    }
    fprintf(stderr, "first_verse: no verse within %.0f s\n", limit / 1e3);
    kill(pid, SIGTERM);
    return 1;
}
