#include "CallbackRecorder.h"

#include <algorithm>
#include <chrono>

namespace ql::hid::test {

CallbackRecorder& CallbackRecorder::instance()
{
    static CallbackRecorder recorder;
    return recorder;
}

uint32_t CallbackRecorder::callback(const QlNotification* record)
{
    CallbackRecorder& self = instance();
    Notice notice;
    notice.kind = record->kind;
    notice.tag = record->request->tag;
    notice.count = record->request->count;
    notice.consumerCode = record->request->consumerCode;
    notice.thread = std::this_thread::get_id();
    if (record->kind == 1 && record->request->data)
        notice.data.assign(record->request->data, record->request->data + record->request->count);
    std::function<void(const Notice&)> hook;
    {
        std::lock_guard lock(self.mutex_);
        self.notices_.push_back(notice);
        hook = self.hook_;
    }
    self.changed_.notify_all();
    if (hook)
        hook(notice);
    return 1;
}

void CallbackRecorder::reset()
{
    std::lock_guard lock(mutex_);
    notices_.clear();
    hook_ = nullptr;
}

void CallbackRecorder::setHook(std::function<void(const Notice&)> hook)
{
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

std::vector<Notice> CallbackRecorder::notices() const
{
    std::lock_guard lock(mutex_);
    return notices_;
}

std::vector<Notice> CallbackRecorder::withTag(uint32_t tag) const
{
    std::vector<Notice> found;
    std::lock_guard lock(mutex_);
    std::copy_if(notices_.begin(), notices_.end(), std::back_inserter(found),
                 [&](const Notice& n) { return n.tag == tag; });
    return found;
}

bool CallbackRecorder::waitFor(uint32_t tag, size_t n, std::chrono::milliseconds guard) const
{
    return waitUntil(
        [&](const std::vector<Notice>& all) {
            return static_cast<size_t>(
                       std::count_if(all.begin(), all.end(), [&](const Notice& x) { return x.tag == tag; })) >= n;
        },
        guard);
}

bool CallbackRecorder::waitUntil(const std::function<bool(const std::vector<Notice>&)>& done,
                                 std::chrono::milliseconds guard) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, guard, [&] { return done(notices_); });
}

std::vector<uint32_t> CallbackRecorder::countsOf(uint32_t tag) const
{
    std::vector<uint32_t> counts;
    for (const Notice& n : withTag(tag))
        if (n.kind == 0)
            counts.push_back(n.count);
    return counts;
}

}  // namespace ql::hid::test
