// The message box on Linux: a GTK 3 dialog when a display is there, else the
// text on standard error. GTK is loaded only when a message has to be shown,
// so a run that shows none starts as fast as one without any dialog code.
#include <dlfcn.h>

// Casts stay plain casts, so that nothing here refers to a GTK symbol: every
// call goes through the pointers that load_gtk() looks up.
#define G_DISABLE_CAST_CHECKS
#include <gtk/gtk.h>

#include <cstdlib>
#include <string>

#include "platform/message_box.h"
#include "platform/stderr_message.h"

namespace plyfold {
namespace {

// The toolkit's entry points, typed from its own declarations.
struct Gtk {
  decltype(&::gtk_disable_setlocale) gtk_disable_setlocale;
  decltype(&::gtk_init_check) gtk_init_check;
  decltype(&::gtk_window_new) gtk_window_new;
  decltype(&::gtk_window_set_title) gtk_window_set_title;
  decltype(&::gtk_window_set_modal) gtk_window_set_modal;
  decltype(&::gtk_window_set_resizable) gtk_window_set_resizable;
  decltype(&::gtk_window_set_position) gtk_window_set_position;
  decltype(&::gtk_window_set_default) gtk_window_set_default;
  decltype(&::gtk_window_set_type_hint) gtk_window_set_type_hint;
  decltype(&::gtk_container_set_border_width) gtk_container_set_border_width;
  decltype(&::gtk_container_add) gtk_container_add;
  decltype(&::gtk_box_new) gtk_box_new;
  decltype(&::gtk_box_pack_start) gtk_box_pack_start;
  decltype(&::gtk_label_new) gtk_label_new;
  decltype(&::gtk_label_set_line_wrap) gtk_label_set_line_wrap;
  decltype(&::gtk_label_set_max_width_chars) gtk_label_set_max_width_chars;
  decltype(&::gtk_label_set_xalign) gtk_label_set_xalign;
  decltype(&::gtk_button_box_new) gtk_button_box_new;
  decltype(&::gtk_button_box_set_layout) gtk_button_box_set_layout;
  decltype(&::gtk_button_new_with_label) gtk_button_new_with_label;
  decltype(&::gtk_button_get_label) gtk_button_get_label;
  decltype(&::gtk_widget_set_can_default) gtk_widget_set_can_default;
  decltype(&::gtk_widget_grab_focus) gtk_widget_grab_focus;
  decltype(&::gtk_widget_show_all) gtk_widget_show_all;
  decltype(&::gtk_widget_destroy) gtk_widget_destroy;
  decltype(&::gtk_main_iteration_do) gtk_main_iteration_do;
  decltype(&::gtk_events_pending) gtk_events_pending;
  decltype(&::gtk_clipboard_get) gtk_clipboard_get;
  decltype(&::gtk_clipboard_set_text) gtk_clipboard_set_text;
  decltype(&::gdk_atom_intern_static_string) gdk_atom_intern_static_string;
  decltype(&::g_signal_connect_data) g_signal_connect_data;
  decltype(&::g_utf8_make_valid) g_utf8_make_valid;
  decltype(&::g_free) g_free;
};

template <typename Function>
bool bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

#define PLYFOLD_BIND(name) bind(library, #name, gtk.name)

// Loads GTK 3 and connects to the display once; null when either fails.
const Gtk* load_gtk() {
  static Gtk gtk;
  static const bool ready = [] {
    void* library = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return false;
    const bool bound =
        PLYFOLD_BIND(gtk_disable_setlocale) && PLYFOLD_BIND(gtk_init_check) &&
        PLYFOLD_BIND(gtk_window_new) && PLYFOLD_BIND(gtk_window_set_title) &&
        PLYFOLD_BIND(gtk_window_set_modal) &&
        PLYFOLD_BIND(gtk_window_set_resizable) &&
        PLYFOLD_BIND(gtk_window_set_position) &&
        PLYFOLD_BIND(gtk_window_set_default) &&
        PLYFOLD_BIND(gtk_window_set_type_hint) &&
        PLYFOLD_BIND(gtk_container_set_border_width) &&
        PLYFOLD_BIND(gtk_container_add) && PLYFOLD_BIND(gtk_box_new) &&
        PLYFOLD_BIND(gtk_box_pack_start) && PLYFOLD_BIND(gtk_label_new) &&
        PLYFOLD_BIND(gtk_label_set_line_wrap) &&
        PLYFOLD_BIND(gtk_label_set_max_width_chars) &&
        PLYFOLD_BIND(gtk_label_set_xalign) &&
        PLYFOLD_BIND(gtk_button_box_new) &&
        PLYFOLD_BIND(gtk_button_box_set_layout) &&
        PLYFOLD_BIND(gtk_button_new_with_label) &&
        PLYFOLD_BIND(gtk_button_get_label) &&
        PLYFOLD_BIND(gtk_widget_set_can_default) &&
        PLYFOLD_BIND(gtk_widget_grab_focus) &&
        PLYFOLD_BIND(gtk_widget_show_all) && PLYFOLD_BIND(gtk_widget_destroy) &&
        PLYFOLD_BIND(gtk_main_iteration_do) &&
        PLYFOLD_BIND(gtk_events_pending) && PLYFOLD_BIND(gtk_clipboard_get) &&
        PLYFOLD_BIND(gtk_clipboard_set_text) &&
        PLYFOLD_BIND(gdk_atom_intern_static_string) &&
        PLYFOLD_BIND(g_signal_connect_data) &&
        PLYFOLD_BIND(g_utf8_make_valid) && PLYFOLD_BIND(g_free);
    if (!bound) return false;
    // Plyfold sets no locale, and neither may the toolkit on its behalf.
    gtk.gtk_disable_setlocale();
    return gtk.gtk_init_check(nullptr, nullptr) != FALSE;
  }();
  return ready ? &gtk : nullptr;
}

#undef PLYFOLD_BIND

bool display_named() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return true;
  }
  return false;
}

struct Dialog {
  const Gtk* gtk;
  std::string copy_text;  // what Ctrl+C puts on the clipboard
  bool dismissed = false;
};

void dismiss(Dialog* dialog) { dialog->dismissed = true; }

void on_clicked(GtkButton*, gpointer dialog) {
  dismiss(static_cast<Dialog*>(dialog));
}

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer dialog) {
  dismiss(static_cast<Dialog*>(dialog));
  return TRUE;  // the window is destroyed once the loop below has ended
}

// Escape and Return dismiss the box wherever the focus is; Ctrl+C copies its
// caption, text and button as a block of text, as a Windows box does.
gboolean on_key(GtkWidget*, GdkEventKey* event, gpointer data) {
  Dialog* dialog = static_cast<Dialog*>(data);
  switch (event->keyval) {
    case GDK_KEY_Escape:
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
      dismiss(dialog);
      return TRUE;
    case GDK_KEY_c:
    case GDK_KEY_C:
      if ((event->state & GDK_CONTROL_MASK) == 0) return FALSE;
      dialog->gtk->gtk_clipboard_set_text(
          dialog->gtk->gtk_clipboard_get(
              dialog->gtk->gdk_atom_intern_static_string("CLIPBOARD")),
          dialog->copy_text.c_str(), -1);
      return TRUE;
    default:
      return FALSE;
  }
}

// Shows the dialog and returns once the user has dismissed it.
void run_dialog(const Gtk& gtk, const char* caption, const char* text) {
  // Paths need not be valid UTF-8: show them with replacement characters.
  gchar* shown_caption = gtk.g_utf8_make_valid(caption, -1);
  gchar* shown_text = gtk.g_utf8_make_valid(text, -1);

  GtkWidget* window = gtk.gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk.gtk_window_set_title(GTK_WINDOW(window), shown_caption);
  gtk.gtk_window_set_modal(GTK_WINDOW(window), TRUE);
  gtk.gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk.gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk.gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  gtk.gtk_container_set_border_width(GTK_CONTAINER(window), 16);

  GtkWidget* column = gtk.gtk_box_new(GTK_ORIENTATION_VERTICAL, 16);
  GtkWidget* label = gtk.gtk_label_new(shown_text);  // plain text, no markup
  gtk.gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  gtk.gtk_label_set_max_width_chars(GTK_LABEL(label), 72);
  gtk.gtk_label_set_xalign(GTK_LABEL(label), 0);
  GtkWidget* buttons = gtk.gtk_button_box_new(GTK_ORIENTATION_HORIZONTAL);
  gtk.gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_END);
  GtkWidget* ok = gtk.gtk_button_new_with_label("OK");
  gtk.gtk_container_add(GTK_CONTAINER(buttons), ok);
  gtk.gtk_box_pack_start(GTK_BOX(column), label, TRUE, TRUE, 0);
  gtk.gtk_box_pack_start(GTK_BOX(column), buttons, FALSE, FALSE, 0);
  gtk.gtk_container_add(GTK_CONTAINER(window), column);

  const std::string rule = "---------------------------\n";
  Dialog dialog{&gtk, rule + shown_caption + "\n" + rule + shown_text + "\n" +
                          rule + gtk.gtk_button_get_label(GTK_BUTTON(ok)) +
                          "\n" + rule};
  gtk.g_signal_connect_data(ok, "clicked", G_CALLBACK(on_clicked), &dialog,
                            nullptr, GConnectFlags{});
  gtk.g_signal_connect_data(window, "delete-event", G_CALLBACK(on_delete),
                            &dialog, nullptr, GConnectFlags{});
  gtk.g_signal_connect_data(window, "key-press-event", G_CALLBACK(on_key),
                            &dialog, nullptr, GConnectFlags{});

  gtk.gtk_widget_set_can_default(ok, TRUE);
  gtk.gtk_window_set_default(GTK_WINDOW(window), ok);
  gtk.gtk_widget_show_all(window);
  gtk.gtk_widget_grab_focus(ok);
  while (!dialog.dismissed) gtk.gtk_main_iteration_do(TRUE);

  gtk.gtk_widget_destroy(window);
  while (gtk.gtk_events_pending()) gtk.gtk_main_iteration_do(FALSE);
  gtk.g_free(shown_text);
  gtk.g_free(shown_caption);
}

}  // namespace

void show_message_box(const char* caption, const char* text) {
  const Gtk* gtk = display_named() ? load_gtk() : nullptr;
  if (gtk != nullptr) {
    run_dialog(*gtk, caption, text);
  } else {
    write_message_to_stderr(caption, text);
  }
}

}  // namespace plyfold
