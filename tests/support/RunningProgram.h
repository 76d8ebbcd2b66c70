#pragma once

// The real program as a process of its own, driven from outside as a user would drive it.

#include "OwnedDialogBox.h"

#include <windows.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

inline constexpr DWORD kPatienceMs = 20000;

class RunningProgram {
public:
    RunningProgram(const std::filesystem::path& exe, const std::wstring& arguments,
                   const std::filesystem::path& directory)
    {
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        m_started = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                                   &startup, &m_process);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process.hProcess, 99);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    bool Started() const { return m_started; }

    // The program's visible settings dialog, once it is up; null if it never comes.
    HWND WaitForDialog()
    {
        for (DWORD waited = 0; waited < kPatienceMs; waited += 20) {
            m_dialog = nullptr;
            EnumWindows(&RunningProgram::MatchDialog, reinterpret_cast<LPARAM>(this));
            if (m_dialog)
                return m_dialog;
            if (WaitForSingleObject(m_process.hProcess, 20) != WAIT_TIMEOUT)
                return nullptr;
        }
        return nullptr;
    }

    // A top-level window of the program with this caption, once it is up.
    HWND WaitForWindow(const std::wstring& caption)
    {
        m_wanted = caption;
        HWND found = WaitForDialog();
        m_wanted = L"Vorlamy";
        return found;
    }
    HWND Dialog() const { return m_dialog; }

    void Click(int id) const { SendMessageW(GetDlgItem(m_dialog, id), BM_CLICK, 0, 0); }
    bool IsChecked(int id) const { return SendMessageW(GetDlgItem(m_dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A key press, delivered to the control that has the focus in the program.
    void PressKey(WPARAM key) const
    {
        HWND focus = FocusedControl();
        HWND target = focus ? focus : m_dialog;
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }
    // The control that has the keyboard focus in the program, or null.
    HWND FocusedControl() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(m_dialog, nullptr), &info);
        return info.hwndFocus;
    }
    int FocusedId() const { return GetDlgCtrlID(FocusedControl()); }

    // Real key presses, through the system's input queue as a keyboard makes them, into
    // the program's dialog (or `window`) brought to the front; `held` (Shift, Ctrl) is held
    // down around them. Returns once the program has taken them in.
    void TypeKeys(std::initializer_list<WORD> keys, WORD held = 0, HWND window = nullptr) const
    {
        SetForegroundWindow(window ? window : m_dialog);
        std::vector<INPUT> inputs;
        auto add = [&inputs](WORD key, bool up) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        };
        if (held)
            add(held, false);
        for (WORD key : keys) {
            add(key, false);
            add(key, true);
        }
        if (held)
            add(held, true);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        // The keys are in the program's queue; give it the moment it needs to handle them.
        DWORD_PTR ignored;
        SendMessageTimeoutW(m_dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatienceMs, &ignored);
        Sleep(100);
    }

    // A dialog box of the program owned by its settings dialog (a message box), once it
    // is up; null if none comes within `patienceMs`.
    HWND WaitForOwnedBox(DWORD patienceMs = kPatienceMs) const
    {
        for (DWORD waited = 0; waited < patienceMs; waited += 20) {
            if (HWND box = FindDialogBoxOwnedBy(m_dialog, true))
                return box;
            Sleep(20);
        }
        return nullptr;
    }
    // The texts of a window's children (a message box's message), joined.
    static std::wstring ChildTexts(HWND window)
    {
        std::wstring texts;
        EnumChildWindows(window, &RunningProgram::AppendText, reinterpret_cast<LPARAM>(&texts));
        return texts;
    }
    bool IsRunning() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    HANDLE Process() const { return m_process.hProcess; }

    // The exit code once the process has ended, or STILL_ACTIVE if it does not end.
    DWORD WaitForExit() const
    {
        if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    static BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
    {
        auto* self = reinterpret_cast<RunningProgram*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t caption[64] = {};
        // (compared as a string below)
        GetWindowTextW(window, caption, 64);
        if (process == self->m_process.dwProcessId && IsWindowVisible(window) && caption == self->m_wanted) {
            self->m_dialog = window;
            return FALSE;
        }
        return TRUE;
    }

    static BOOL CALLBACK AppendText(HWND child, LPARAM param)
    {
        wchar_t text[1024] = {};
        GetWindowTextW(child, text, 1024);
        *reinterpret_cast<std::wstring*>(param) += text;
        return TRUE;
    }

    PROCESS_INFORMATION m_process{};
    bool m_started = false;
    HWND m_dialog = nullptr;
    std::wstring m_wanted = L"Vorlamy";
};
