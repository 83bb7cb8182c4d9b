/* X objects for the end-to-end tests that no standard tool makes:
 *   xobject pixmap | input-only | unmapped   makes one, prints its id, and
 *                                            keeps it until killed;
 *   xobject destroy ID                       destroys another client's window. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <xcb/xcb.h>

int main(int argc, char** argv) {
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (argc < 2 || xcb_connection_has_error(c))
        return 2;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (strcmp(argv[1], "destroy") == 0 && argc == 3) {
        xcb_void_cookie_t done = xcb_destroy_window_checked(c, (xcb_window_t)strtoul(argv[2], NULL, 0));
        xcb_generic_error_t* error = xcb_request_check(c, done);
        free(error);
        xcb_disconnect(c);
        return error ? 1 : 0;
    }
    uint32_t id = xcb_generate_id(c);
    if (strcmp(argv[1], "pixmap") == 0)
        xcb_create_pixmap(c, screen->root_depth, id, screen->root, 64, 64);
    else if (strcmp(argv[1], "input-only") == 0)
        xcb_create_window(c, 0, id, screen->root, 0, 0, 64, 64, 0, XCB_WINDOW_CLASS_INPUT_ONLY, 0, 0, NULL);
    else if (strcmp(argv[1], "unmapped") == 0)
        xcb_create_window(c, XCB_COPY_FROM_PARENT, id, screen->root, 0, 0, 320, 240, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, NULL);
    else
        return 2;
    xcb_flush(c);
    printf("0x%x\n", id);
    fflush(stdout);
    for (;;)
        pause();
}
