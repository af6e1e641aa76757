#pragma once

class QMenu;
class QWebEnginePage;

// The engine's context menu for a page, without the entries that the program's profile turns
// into nothing: saving, downloads, new windows, the page's source and the inspector.
namespace PageContextMenu {

// Takes those entries out of menu, which the engine made for page, and tidies the separators
// they leave behind.
void prune(QMenu *menu, QWebEnginePage *page);

} // namespace PageContextMenu
