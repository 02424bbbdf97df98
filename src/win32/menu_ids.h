// The menu's resource IDs and the core's commands: the resource script numbers its items with
// resource.h's identifiers, and each is checked here against the MenuItem it stands for, so
// that the two cannot disagree and still compile.
#pragma once

#include <optional>

#include "platform/controls.h"
#include "win32/resource.h"

namespace corvane::win32 {

struct MenuId {
    int resourceId;
    MenuItem item;
};

inline constexpr MenuId kMenuIds[] = {
    {ID_FICHIER, MenuItem::fichier},
    {ID_IMPR, MenuItem::impr},
    {ID_SEP1, MenuItem::sep1},
    {ID_QUITTER, MenuItem::quitter},
    {ID_OUTILS, MenuItem::outils},
    {ID_JOURNAL, MenuItem::journal},
    {ID_INITJOURNAL, MenuItem::InitJournal},
    {ID_INITALL, MenuItem::InitAll},
    {ID_SEP3, MenuItem::sep3},
    {ID_RAFFRAICHISSEMENT, MenuItem::raffraichissement},
    {ID_S1, MenuItem::s1},
    {ID_S5, MenuItem::s5},
    {ID_S10, MenuItem::s10},
    {ID_S30, MenuItem::s30},
    {ID_M1, MenuItem::m1},
    {ID_QUOI, MenuItem::quoi},
    {ID_AIDE, MenuItem::aide},
    {ID_SEP2, MenuItem::sep2},
    {ID_PROPOS, MenuItem::propos},
    {ID_HISTORY, MenuItem::history},
    {ID_VIRTUAL_MEMORY, MenuItem::virtualMemory},
    {ID_NOTIFICATION_ICON, MenuItem::notificationIcon},
    {ID_ALERTS, MenuItem::alerts},
    {ID_START_WITH_WINDOWS, MenuItem::startWithWindows},
    {ID_PROMETHEUS, MenuItem::prometheus},
    {ID_EVENT_LOG, MenuItem::eventLog},
    {ID_PAGE_FILE_ADVICE, MenuItem::pageFileAdvice},
};

consteval bool menuIdsAgree() {
    for (const MenuId& id : kMenuIds) {
        if (id.resourceId != static_cast<int>(id.item)) return false;
    }
    return true;
}
static_assert(menuIdsAgree(), "resource.h numbers a menu item otherwise than MenuItem does");

// The command a WM_COMMAND from the menu or an accelerator names; none for an unknown ID.
constexpr std::optional<MenuItem> menuItemFromId(int resourceId) {
    for (const MenuId& id : kMenuIds) {
        if (id.resourceId == resourceId) return id.item;
    }
    return std::nullopt;
}

}  // namespace corvane::win32
