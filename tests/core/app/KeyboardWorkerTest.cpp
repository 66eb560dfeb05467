// The keyboard thread with real threads: a gate task holds the worker so
// that what is queued behind it is known exactly.
#include "core/app/KeyboardWorker.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <thread>

namespace trevolin::app {
namespace {

// Blocks the worker until opened.
struct Gate {
    std::promise<void> entered, open;
    KeyboardWorker::Task Task()
    {
        return [this] {
            entered.set_value();
            open.get_future().wait();
        };
    }
};

TEST(KeyboardWorker, RunsInOrderAndCoalescesQueuedWritesOfOneField)
{
    KeyboardWorker worker;
    Gate gate;
    ASSERT_TRUE(worker.Post(gate.Task()));
    gate.entered.get_future().wait();

    std::vector<std::string> ran;  // only the worker touches it until WaitIdle
    worker.Post([&] { ran.push_back("apply"); });
    worker.Post([&] { ran.push_back("brightness 1"); }, "brightness");
    worker.Post([&] { ran.push_back("brightness 2"); }, "brightness");
    worker.Post([&] { ran.push_back("speed 2"); }, "speed");
    worker.Post([&] { ran.push_back("brightness 3"); }, "brightness");
    worker.Post([&] { ran.push_back("brightness 4"); }, "brightness");
    EXPECT_TRUE(worker.Busy());
    EXPECT_EQ(worker.Pending(), 5u);  // the gate and four queued
    EXPECT_FALSE(worker.OnWorkerThread());

    gate.open.set_value();
    worker.WaitIdle();
    // Each run of one field became its last value, in the order asked.
    EXPECT_EQ(ran, (std::vector<std::string>{"apply", "brightness 2", "speed 2", "brightness 4"}));
    EXPECT_FALSE(worker.Busy());

    // Once a write has started, the next one of its field is queued anew.
    bool onWorker = false;
    EXPECT_TRUE(worker.RunAndWait([&] { onWorker = worker.OnWorkerThread(); }));
    EXPECT_TRUE(onWorker);
}

TEST(KeyboardWorker, WhatASequenceThrowsReachesTheWaitingCaller)
{
    KeyboardWorker worker;
    EXPECT_THROW(worker.RunAndWait([] { throw std::runtime_error("keyboard gone"); }), std::runtime_error);
    EXPECT_TRUE(worker.RunAndWait([] {}));
}

TEST(KeyboardWorker, StopLetsTheRunningSequenceFinishAndDropsTheRest)
{
    KeyboardWorker worker;
    Gate gate;
    worker.Post(gate.Task());
    gate.entered.get_future().wait();
    // The queued task tells when it is destroyed: dropped by Stop while
    // the gate still holds the worker, it can never have run.
    struct Released {
        std::promise<void> released;
        ~Released() { released.set_value(); }
    };
    auto witness = std::make_shared<Released>();
    auto released = witness->released.get_future();
    bool droppedRan = false;
    worker.Post([&droppedRan, witness] { droppedRan = true; });
    witness.reset();

    auto stopping = std::async(std::launch::async, [&] { worker.Stop(); });
    released.wait();
    // Stop waits for the running sequence...
    EXPECT_EQ(stopping.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    gate.open.set_value();
    stopping.get();
    // ...and what waited behind it never runs.
    EXPECT_FALSE(droppedRan);
    EXPECT_FALSE(worker.Post([] {}));
    EXPECT_FALSE(worker.RunAndWait([] {}));
    worker.Stop();  // twice is harmless
}

// A caller waiting for a sequence that Stop drops hears so instead of
// waiting for ever.
TEST(KeyboardWorker, AWaitForASequenceThatStopDropsEnds)
{
    KeyboardWorker worker;
    Gate gate;
    worker.Post(gate.Task());
    gate.entered.get_future().wait();

    bool ran = false;
    auto waiting = std::async(std::launch::async, [&] { return worker.RunAndWait([&ran] { ran = true; }); });
    // The waiting task is queued behind the gate once the worker counts it.
    while (worker.Pending() < 2)
        std::this_thread::yield();
    auto stopping = std::async(std::launch::async, [&] { worker.Stop(); });
    // Stop refuses posts from the moment it has dropped the queue.
    while (worker.Post([] {}))
        std::this_thread::yield();
    gate.open.set_value();
    stopping.get();
    EXPECT_FALSE(waiting.get());
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace trevolin::app
