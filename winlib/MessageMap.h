#pragma once

// Message maps: per-class tables from a window message (or command id) to a member function, each naming its base
// class's table, asked next. Rows keep the handler's exact type: a handler whose signature does not fit won't compile.

#include <windows.h>

#include <cstddef>
#include <type_traits>

class CCmdTarget;

// One row of a message map.
struct MessageEntry {
    enum class Kind { Message, Command };
    using Invoker = LRESULT (*)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);

    Kind kind;
    UINT code;  // the window message, or for a command row the command id
    Invoker invoke;
};

// A class's table and the table of its base class (null for the root).
struct MessageMap {
    const MessageMap* base;
    const MessageEntry* entries;
    std::size_t count;

    // The first matching row in this table or, failing that, in the base tables.
    const MessageEntry* Find(MessageEntry::Kind kind, UINT code) const;
};

namespace winlib_detail {

template <class Member>
struct ClassOf;
template <class T, class R, class... Args>
struct ClassOf<R (T::*)(Args...)> {
    using Type = T;
};

// Calls a handler with WPARAM/LPARAM unpacked for its signature, on the object whose map holds the row: of its class.
template <auto Handler>
LRESULT Invoke(CCmdTarget& target, WPARAM wParam, LPARAM lParam)
{
    using T = typename ClassOf<decltype(Handler)>::Type;
    using H = decltype(Handler);
    T& object = static_cast<T&>(target);
    if constexpr (std::is_same_v<H, void (T::*)()>) {
        (object.*Handler)();
        return 0;
    } else if constexpr (std::is_same_v<H, void (T::*)(UINT, LPARAM)>) {  // WM_SYSCOMMAND
        (object.*Handler)(static_cast<UINT>(wParam), lParam);
        return 0;
    } else if constexpr (std::is_same_v<H, HICON (T::*)()>) {  // WM_QUERYDRAGICON
        return reinterpret_cast<LRESULT>((object.*Handler)());
    } else {  // anything else: the raw parameters and the raw result
        static_assert(std::is_same_v<H, LRESULT (T::*)(WPARAM, LPARAM)>, "no message handler has this signature");
        return (object.*Handler)(wParam, lParam);
    }
}

}  // namespace winlib_detail

// Builds the rows of Owner's message map, of handlers of Owner or of its bases.
template <class Owner>
struct MessageMapOf {
    template <UINT Message, auto Handler>
    static constexpr MessageEntry OnMessage()
    {
        static_assert(std::is_base_of_v<typename winlib_detail::ClassOf<decltype(Handler)>::Type, Owner>,
                      "the handler belongs to another class");
        return {MessageEntry::Kind::Message, Message, &winlib_detail::Invoke<Handler>};
    }

    template <UINT CommandId, auto Handler>
    static constexpr MessageEntry OnCommand()
    {
        using Class = typename winlib_detail::ClassOf<decltype(Handler)>::Type;
        static_assert(std::is_base_of_v<Class, Owner>, "the handler belongs to another class");
        static_assert(std::is_same_v<decltype(Handler), void (Class::*)()>,
                      "a command handler takes nothing and returns nothing");
        return {MessageEntry::Kind::Command, CommandId, &winlib_detail::Invoke<Handler>};
    }
};

// The root of every message-map chain: an object that handles messages and commands.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Calls the handler of a command (a menu item, an accelerator, a button click), if any.
    virtual bool OnCmdMsg(UINT commandId);

protected:
    // Calls the handler of a window message if the map chain has one.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The most derived class's table; every class with a table of its own overrides it.
    virtual const MessageMap* GetMessageMap() const { return &messageMap; }
    static const MessageMap messageMap;
};
