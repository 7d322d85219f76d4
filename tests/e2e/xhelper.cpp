// A tiny X client for the end-to-end tests: one window with the title given, its _NET_WM_PID
// set, mapped; it prints the window id and waits until it is ended.
#include <xcb/xcb.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r ? r->atom : 0;
  std::free(r);
  return atom;
}

int main(int argc, char** argv) {
  const char* title = argc > 1 ? argv[1] : "helper";
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 1;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t w = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 10, 10, 200, 100, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  const uint32_t pid = uint32_t(getpid());
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, Atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1,
                      &pid);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, Atom(c, "_NET_WM_NAME"), Atom(c, "UTF8_STRING"),
                      8, uint32_t(std::strlen(title)), title);
  xcb_map_window(c, w);
  xcb_flush(c);
  std::printf("%u\n", w);
  std::fflush(stdout);
  while (xcb_generic_event_t* e = xcb_wait_for_event(c)) std::free(e);
  return 0;
}
