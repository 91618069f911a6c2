// HeldNameLookup: a name server for SNetworkStreamTcp::setNameLookup. Held, each lookup waits
// until the test lets it go and then gives `answer` (none when empty); not held, it answers
// at once. Shared state, so that lookups given up on may end after the test object.
#pragma once

#include "VEK_SYSTEM/SNetworkStreamTcp.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class HeldNameLookup {
public:
    explicit HeldNameLookup(std::string answer = "", bool held = true) : answer(std::move(answer)), held(held) {}
    ~HeldNameLookup() { release(); }

    SNetworkStreamTcp::NameLookup function() {
        std::shared_ptr<State> s = state;
        std::string address = answer;
        bool wait = held;
        return [s, address, wait](const std::string&, std::string& numeric, std::string& reason) {
            std::unique_lock<std::mutex> lock(s->lock);
            ++s->calls;
            s->changed.notify_all();
            if (wait) s->changed.wait(lock, [&] { return s->released; });
            numeric = address;
            reason = "losgelassen";
            return !address.empty();
        };
    }
    bool waitForCall(int ms) {
        std::unique_lock<std::mutex> lock(state->lock);
        return state->changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return state->calls > 0; });
    }
    int calls() {
        std::lock_guard<std::mutex> lock(state->lock);
        return state->calls;
    }
    void release() {
        std::lock_guard<std::mutex> lock(state->lock);
        state->released = true;
        state->changed.notify_all();
    }

private:
    struct State {
        std::mutex lock;
        std::condition_variable changed;
        int calls = 0;
        bool released = false;
    };
    std::string answer;
    bool held;
    std::shared_ptr<State> state = std::make_shared<State>();
};
