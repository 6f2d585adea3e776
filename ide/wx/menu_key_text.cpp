// Menu items whose key text is shown but never live. GTK makes every key a
// menu item shows an accelerator of the window, and gives stock items (Close,
// Exit, ...) keys of their own; here only the accelerator table's keys act,
// so the items carry their key text as a plain label instead.
#include "ide/wx/menus.hpp"

#include <gtk/gtk.h>

namespace ide {

namespace {

const char kKeyLabelName[] = "quv-key-text";

void DropAccelerators(GtkWidget* item)
{
    GList* closures = gtk_widget_list_accel_closures(item);
    for (GList* c = closures; c; c = c->next) {
        auto* closure = static_cast<GClosure*>(c->data);
        if (GtkAccelGroup* group = gtk_accel_group_from_accel_closure(closure))
            gtk_accel_group_disconnect(group, closure);
    }
    g_list_free(closures);
}

// A label that still watches an accelerator it no longer finds shows "-/-"
// in its place: it watches none.
void ForgetAccelerator(GtkWidget* label)
{
    if (!label || !GTK_IS_ACCEL_LABEL(label))
        return;
    gtk_accel_label_set_accel_closure(GTK_ACCEL_LABEL(label), nullptr);
    gtk_accel_label_set_accel(GTK_ACCEL_LABEL(label), 0, GdkModifierType(0));
}

GtkWidget* KeyLabel(GtkWidget* item)
{
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(item));
    if (!child || !GTK_IS_BOX(child))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(child));
    GtkWidget* found = nullptr;
    for (GList* c = children; c && !found; c = c->next)
        if (g_strcmp0(gtk_widget_get_name(GTK_WIDGET(c->data)), kKeyLabelName) == 0)
            found = GTK_WIDGET(c->data);
    g_list_free(children);
    return found;
}

} // namespace

void ShowKeyTextOnly(wxMenuItem* item, const wxString& keys)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    if (!widget)
        return;
    DropAccelerators(widget);
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(widget));
    ForgetAccelerator(label);
    if (keys.empty() || !label || !GTK_IS_LABEL(label))
        return;
    // The item's own label (with its mnemonic) on the left, the key text on
    // the right where GTK shows an accelerator, dimmed as GTK dims one.
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
    g_object_ref(label);
    gtk_container_remove(GTK_CONTAINER(widget), label);
    gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
    g_object_unref(label);
    GtkWidget* key = gtk_label_new(keys.utf8_str());
    gtk_widget_set_name(key, kKeyLabelName);
    gtk_style_context_add_class(gtk_widget_get_style_context(key), GTK_STYLE_CLASS_ACCELERATOR);
    gtk_box_pack_end(GTK_BOX(box), key, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(widget), box);
    gtk_widget_show_all(box);
}

wxString MenuKeyText(const wxMenuItem* item)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    GtkWidget* key = widget ? KeyLabel(widget) : nullptr;
    return key ? wxString::FromUTF8(gtk_label_get_text(GTK_LABEL(key))) : wxString();
}

bool MenuItemLabelShowsGtkKey(const wxMenuItem* item)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    GtkWidget* child = widget ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
    if (child && GTK_IS_BOX(child)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(child));
        child = children ? GTK_WIDGET(children->data) : nullptr;
        g_list_free(children);
    }
    if (!child || !GTK_IS_ACCEL_LABEL(child))
        return false;
    GClosure* closure = nullptr;
    g_object_get(child, "accel-closure", &closure, nullptr);
    const bool watches = closure != nullptr;
    if (closure)
        g_closure_unref(closure);
    guint key = 0;
    GdkModifierType mods = GdkModifierType(0);
    gtk_accel_label_get_accel(GTK_ACCEL_LABEL(child), &key, &mods);
    return watches || key != 0;
}

bool MenuItemHasAccelerator(const wxMenuItem* item)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    if (!widget)
        return false;
    GList* closures = gtk_widget_list_accel_closures(widget);
    const bool any = closures != nullptr;
    g_list_free(closures);
    return any;
}

} // namespace ide
