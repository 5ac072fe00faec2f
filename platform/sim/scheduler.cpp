// Programs, the baton that lets exactly one of them (or the test) run at a time, the
// virtual clock, and message retrieval as GetMessageW performs it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "faults.h"
#include "input.h"
#include "state.h"

namespace sim {

namespace {
thread_local Program* tlsProgram = nullptr;
DeviceState* gState = nullptr;
DWORD driverLastError = 0;
constexpr long kRunawayLimit = 2000000;
}  // namespace

void BindState(DeviceState* state) { gState = state; }

DeviceState& S() {
    if (!gState) {
        std::fprintf(stderr, "sim: no device exists\n");
        std::abort();
    }
    return *gState;
}

Program* CurrentProgram() { return tlsProgram; }
int CurrentProgramId() { return tlsProgram ? tlsProgram->id : 0; }

Program* FindProgram(int id) {
    for (auto& p : S().programs)
        if (p->id == id) return p.get();
    return nullptr;
}

void Fail(DWORD error) {
    if (tlsProgram)
        tlsProgram->lastError = error;
    else
        driverLastError = error;
}

DWORD LastErrorOfCaller() { return tlsProgram ? tlsProgram->lastError : driverLastError; }

// ---- the baton ----

static void WaitForBaton(std::unique_lock<std::mutex>& lock, Program* p) {
    S().batonSignal.wait(lock, [&] { return S().running == p->id; });
}

void Block(Program* p) {
    DeviceState& s = S();
    std::unique_lock<std::mutex> lock(s.batonMutex);
    p->state = Program::State::Waiting;
    p->blockedGeneration = s.generation;
    s.running = 0;
    s.batonSignal.notify_all();
    WaitForBaton(lock, p);
    if (p->killRequested) throw ProgramKilled{};
    p->state = Program::State::Running;
}

static void Resume(Program* p) {
    DeviceState& s = S();
    std::unique_lock<std::mutex> lock(s.batonMutex);
    s.running = p->id;
    s.batonSignal.notify_all();
    s.batonSignal.wait(lock, [&] { return s.running == 0; });
}

void ReleaseProgramResources(Program* p);

static void ProgramThread(Program* p) {
    tlsProgram = p;
    {
        std::unique_lock<std::mutex> lock(S().batonMutex);
        WaitForBaton(lock, p);
    }
    if (!p->killRequested) {
        p->state = Program::State::Running;
        try {
            char empty[1] = {0};
            p->exitCode = p->entry(p->instance, nullptr, empty, p->showCommand);
        } catch (const ProgramKilled&) {
            p->exitCode = -1;
        }
        if (!p->killRequested) ReleaseProgramResources(p);
    }
    std::unique_lock<std::mutex> lock(S().batonMutex);
    p->state = Program::State::Exited;
    S().generation++;
    S().running = 0;
    S().batonSignal.notify_all();
}

void StartHostedProgram(Program* p) {
    p->thread = std::thread(ProgramThread, p);
}

void KillAllPrograms() {
    DeviceState& s = S();
    for (auto& up : s.programs) {
        Program* p = up.get();
        if (!p->hosted || !p->thread.joinable()) continue;
        if (p->state != Program::State::Exited) {
            p->killRequested = true;
            Resume(p);
        }
        p->thread.join();
    }
}

// ---- what a program has to do ----

static bool TimerDue(const Timer& t) { return t.due <= S().now; }

bool HasWork(Program* p) {
    DeviceState& s = S();
    if (p->state == Program::State::NotStarted) return true;
    if (p->state != Program::State::Waiting || p->sleeping) return false;
    if (p->blockedGeneration == s.generation) return false;
    if (!p->sent.empty() || !p->posted.empty() || !p->input.empty() || p->quitPosted || p->wake) return true;
    if (p->waitUntil && p->waitUntil()) return true;
    for (const Timer& t : s.timers)
        if (t.program == p && TimerDue(t)) return true;
    for (auto& [h, w] : s.windows)
        if (w->program == p && w->invalid && w->visible) return true;
    return false;
}

static bool BuiltinHasWork(Program* p) {
    if (!p->sent.empty() || !p->posted.empty() || !p->input.empty()) return true;
    for (const Timer& t : S().timers)
        if (t.program == p && TimerDue(t)) return true;
    for (auto& [h, w] : S().windows)
        if (w->program == p && w->invalid && w->visible) return true;
    return false;
}

void RunUntilIdleImpl() {
    DeviceState& s = S();
    for (long round = 0;; ++round) {
        if (round > kRunawayLimit) {
            std::fprintf(stderr, "sim: the device never became idle (a program keeps itself busy)\n");
            std::abort();
        }
        // Whoever ran last has waited, slept or ended: the system hands on the keys it sent.
        RouteSynthesisedKeys();
        Program* next = nullptr;
        for (auto& up : s.programs) {
            Program* p = up.get();
            if (p->state == Program::State::Exited) continue;
            if (p->hosted ? HasWork(p) : BuiltinHasWork(p)) {
                next = p;
                break;
            }
        }
        if (!next) {
            // Everyone else is idle: a sleeping program's time is up.
            for (auto& up : s.programs) {
                if (up->sleeping && up->state == Program::State::Waiting) {
                    next = up.get();
                    break;
                }
            }
            if (!next) return;
            next->sleeping = false;
            Resume(next);
            continue;
        }
        if (next->hosted) {
            if (next->state == Program::State::NotStarted) StartHostedProgram(next);
            Resume(next);
        } else {
            int outer = s.builtinRunning;
            s.builtinRunning = next->id;
            if (next->builtin) {
                next->builtin->Pump();
            } else {
                // a builtin program without a pump: deliver its queue straight to its windows
                MSG msg;
                while (NextMessage(next, &msg, nullptr, 0, 0, true, false)) DispatchMessageW(&msg);
            }
            s.builtinRunning = outer;
        }
    }
}

void AdvanceImpl(uint32_t milliseconds) {
    DeviceState& s = S();
    const uint64_t target = s.now + milliseconds;
    RunUntilIdleImpl();
    for (;;) {
        uint64_t nextDue = UINT64_MAX;
        for (const Timer& t : s.timers)
            if (t.due > s.now && t.due < nextDue) nextDue = t.due;
        if (nextDue > target) break;
        s.now = nextDue;
        s.generation++;
        RunUntilIdleImpl();
    }
    if (s.now < target) s.now = target;
    s.generation++;
    RunUntilIdleImpl();
}

// ---- message retrieval ----

static bool IsDescendant(HWND parent, HWND child) {
    for (Window* w = FindWin(child); w; w = FindWin(w->parent))
        if (w->handle == parent) return true;
    return false;
}

static bool Matches(const MSG& m, HWND filter, UINT min, UINT max) {
    if (filter && !IsDescendant(filter, m.hwnd)) return false;
    if (min == 0 && max == 0) return true;
    return m.message >= min && m.message <= max;
}

static void TrackThreadKeyState(Program* p, const MSG& m) {
    UINT vk = static_cast<UINT>(m.wParam) & 0xFF;
    if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) p->keysDown.insert(vk);
    if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) p->keysDown.erase(vk);
}

static bool TakeFrom(std::deque<MSG>& queue, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!Matches(*it, filter, min, max)) continue;
        *out = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

bool RunModalLoop(Program* p, const std::function<bool()>& done, const std::function<bool(MSG&)>& handled,
                  int* quitCode) {
    while (!done()) {
        MSG msg;
        if (!NextMessage(p, &msg, nullptr, 0, 0, true, true, done)) break;
        if (msg.message == WM_QUIT) {
            *quitCode = static_cast<int>(msg.wParam);
            return true;
        }
        if (handled && handled(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return false;
}

void ProcessSentMessages(Program* p) {
    while (!p->sent.empty()) {
        SentMessage* sm = p->sent.front();
        p->sent.pop_front();
        sm->result = CallWindow(sm->hwnd, sm->message, sm->wParam, sm->lParam);
        sm->done = true;
        S().generation++;
    }
}

bool NextMessage(Program* p, MSG* out, HWND filter, UINT min, UINT max, bool remove, bool wait,
                 const std::function<bool()>& stop) {
    DeviceState& s = S();
    for (;;) {
        ProcessSentMessages(p);
        p->wake = false;
        if (stop && stop()) return false;
        if (TakeFrom(p->posted, out, filter, min, max, remove)) return true;
        if (p->quitPosted && !filter) {
            *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(p->quitCode), 0, static_cast<DWORD>(s.now), {0, 0}};
            if (remove) p->quitPosted = false;
            return true;
        }
        if (TakeFrom(p->input, out, filter, min, max, remove)) {
            if (remove) TrackThreadKeyState(p, *out);
            return true;
        }
        for (auto& [key, w] : s.windows) {
            if (w->program != p || !w->invalid || !w->visible) continue;
            MSG m{w->handle, WM_PAINT, 0, 0, static_cast<DWORD>(s.now), {0, 0}};
            if (!Matches(m, filter, min, max)) continue;
            *out = m;
            return true;
        }
        Timer* due = nullptr;
        for (Timer& t : s.timers) {
            if (t.program != p || !TimerDue(t)) continue;
            MSG m{t.hwnd, WM_TIMER, t.id, 0, 0, {0, 0}};
            if (!Matches(m, filter, min, max)) continue;
            if (!due || t.due < due->due) due = &t;
        }
        if (due) {
            *out = MSG{due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc),
                       static_cast<DWORD>(s.now), {0, 0}};
            if (remove) due->due = s.now + due->interval;
            return true;
        }
        if (!wait || !p->hosted) return false;
        p->waitUntil = stop;
        Block(p);
        p->waitUntil = nullptr;
    }
}

}  // namespace sim

using namespace sim;

DWORD GetLastError() { return LastErrorOfCaller(); }
void SetLastError(DWORD error) { Fail(error); }

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    Program* p = CurrentProgram();
    if (!p || !msg) {
        Fail(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd && !FindWin(hwnd)) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    if (FaultHere(FaultPoint::MessageRetrieval)) {
        Fail(ERROR_INVALID_PARAMETER);
        return -1;
    }
    NextMessage(p, msg, hwnd, filterMin, filterMax, true, true);
    return msg->message == WM_QUIT ? 0 : 1;
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    Program* p = CurrentProgram();
    if (!p || !msg) return FALSE;
    return NextMessage(p, msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0, false) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    Program* p = CurrentProgram();
    if (!p) return FALSE;
    // The character depends on the modifiers as they were when the key came, not as now.
    WCHAR ch = CharForKey(static_cast<UINT>(msg->wParam), p->keysDown.count(VK_SHIFT) > 0,
                          p->keysDown.count(VK_CONTROL) > 0);
    if (!ch) return FALSE;
    // The character goes ahead of the key's release, as a posted message does.
    p->posted.push_back(MSG{msg->hwnd, WM_CHAR, ch, msg->lParam, msg->time, msg->pt});
    S().generation++;
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(S().now));
        return 0;
    }
    if (!msg->hwnd || !FindWin(msg->hwnd)) return 0;
    LRESULT result = CallWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A window procedure that ignores WM_PAINT would otherwise be asked forever.
        if (Window* w = FindWin(msg->hwnd)) w->invalid = false;
    }
    return result;
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DeviceState& s = S();
    Record("PostMessageW", {reinterpret_cast<intptr_t>(hwnd), static_cast<intptr_t>(message),
                            static_cast<intptr_t>(wParam), lParam});
    Program* target = nullptr;
    if (!hwnd) {
        target = CurrentProgram();
    } else if (Window* w = FindWin(hwnd)) {
        target = w->program;
    }
    if (!target || target->state == Program::State::Exited) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    target->posted.push_back(MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(s.now), {0, 0}});
    s.generation++;
    return TRUE;
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (!w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    Program* self = CurrentProgram();
    Program* target = w->program;
    if (target == self || !target->hosted) return CallWindow(hwnd, message, wParam, lParam);
    if (target->state == Program::State::Exited) return 0;
    SentMessage sm{hwnd, message, wParam, lParam, 0, false};
    target->sent.push_back(&sm);
    S().generation++;
    if (!self) {
        RunUntilIdleImpl();
    } else {
        while (!sm.done && target->state != Program::State::Exited) {
            ProcessSentMessages(self);
            self->waitUntil = [&] { return sm.done || target->state == Program::State::Exited; };
            Block(self);
            self->waitUntil = nullptr;
        }
    }
    if (!sm.done) {
        for (auto it = target->sent.begin(); it != target->sent.end(); ++it)
            if (*it == &sm) {
                target->sent.erase(it);
                break;
            }
    }
    return sm.result;
}

void PostQuitMessage(int exitCode) {
    Program* p = CurrentProgram();
    if (!p) return;
    Record("PostQuitMessage", {exitCode});
    p->quitPosted = true;
    p->quitCode = exitCode;
    S().generation++;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc) {
    DeviceState& s = S();
    Record("SetTimer", {reinterpret_cast<intptr_t>(hwnd), static_cast<intptr_t>(id), static_cast<intptr_t>(milliseconds)});
    Window* w = FindWin(hwnd);
    Program* p = CurrentProgram();
    if (!w || !p || w->program != p) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    s.generation++;
    for (Timer& t : s.timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.interval = milliseconds;
            t.due = s.now + milliseconds;
            t.proc = proc;
            return id ? id : 1;
        }
    }
    s.timers.push_back(Timer{p, hwnd, id, milliseconds, s.now + milliseconds, proc});
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    DeviceState& s = S();
    Record("KillTimer", {reinterpret_cast<intptr_t>(hwnd), static_cast<intptr_t>(id)});
    for (auto it = s.timers.begin(); it != s.timers.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            s.timers.erase(it);
            return TRUE;
        }
    }
    Fail(ERROR_INVALID_PARAMETER);
    return FALSE;
}

// The caller is suspended for the time; on the device the other programs run meanwhile,
// so they handle what is pending for them (keys just sent, messages, due timers) before
// the caller goes on.
void Sleep(DWORD milliseconds) {
    Record("Sleep", {static_cast<intptr_t>(milliseconds)});
    S().now += milliseconds;
    S().generation++;
    Program* p = CurrentProgram();
    if (!p || !p->hosted) return;
    p->sleeping = true;
    Block(p);
}

DWORD GetTickCount() { return static_cast<DWORD>(S().now); }

namespace sim {

// What the device takes back from a program that has ended: its windows (without any
// message), its handles, its timers and its hot-keys. Heap blocks it left stay on record.
void ReleaseProgramResources(Program* p) {
    DeviceState& s = S();
    DestroyWindowsOf(p);
    ReleaseKernelObjectsOf(p);
    s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return t.program == p; }),
                   s.timers.end());
    s.hotKeys.erase(std::remove_if(s.hotKeys.begin(), s.hotKeys.end(), [](const HotKey& k) { return !FindWin(k.hwnd); }),
                    s.hotKeys.end());
}

}  // namespace sim
