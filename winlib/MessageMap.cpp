#include "MessageMap.h"

const MessageMap CCmdTarget::messageMap = {nullptr, nullptr, 0};

const MessageEntry* MessageMap::Find(MessageEntry::Kind kind, UINT code) const
{
    for (const MessageMap* map = this; map; map = map->base) {
        for (std::size_t i = 0; i < map->count; ++i) {
            if (map->entries[i].kind == kind && map->entries[i].code == code)
                return &map->entries[i];
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT commandId)
{
    const MessageEntry* entry = GetMessageMap()->Find(MessageEntry::Kind::Command, commandId);
    if (!entry)
        return false;
    entry->invoke(*this, 0, 0);
    return true;
}

bool CCmdTarget::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const MessageEntry* entry = GetMessageMap()->Find(MessageEntry::Kind::Message, message);
    if (!entry)
        return false;
    result = entry->invoke(*this, wParam, lParam);
    return true;
}
