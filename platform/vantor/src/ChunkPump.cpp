#include "ChunkPump.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace vantor {
namespace {

const int kSlots = 4;

struct Slot {
    uint8_t* data = nullptr;
    DWORD size = 0;
    uint64_t offset = 0;
};

// Shared between the reading thread and the writing (calling) thread.
struct Pipe {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<int> empty, full;
    bool readerDone = false;
    bool stop = false;  // the writer gave up
    DWORD readError = ERROR_SUCCESS;
    Slot slots[kSlots];
};

void ReadAhead(const PumpJob& job, Pipe& pipe)
{
    uint64_t offset = 0;
    DWORD error = ERROR_SUCCESS;
    for (;;) {
        int i;
        {
            std::unique_lock<std::mutex> hold(pipe.lock);
            pipe.changed.wait(hold, [&] { return pipe.stop || !pipe.empty.empty(); });
            if (pipe.stop) break;
            i = pipe.empty.front();
            pipe.empty.pop_front();
        }
        Slot& slot = pipe.slots[i];
        DWORD want = kPumpChunk;
        if (job.limit != UINT64_MAX) {
            const uint64_t left = job.limit - offset;
            if (left < want) want = DWORD(left);
        }
        DWORD got = 0;
        bool more = want > 0;
        if (more && !ReadFile(job.in, slot.data, want, &got, NULL)) {
            error = GetLastError();
            more = false;
        } else if (more && got == 0) {
            if (job.limit != UINT64_MAX) error = ERROR_HANDLE_EOF;  // cut short
            more = false;
        }
        if (!more) {
            std::lock_guard<std::mutex> hold(pipe.lock);
            pipe.empty.push_back(i);
            break;
        }
        if (job.afterRead) job.afterRead(slot.data, got, offset);
        slot.size = got;
        slot.offset = offset;
        offset += got;
        {
            std::lock_guard<std::mutex> hold(pipe.lock);
            pipe.full.push_back(i);
        }
        pipe.changed.notify_all();
    }
    {
        std::lock_guard<std::mutex> hold(pipe.lock);
        pipe.readerDone = true;
        pipe.readError = error;
    }
    pipe.changed.notify_all();
}

}  // namespace

bool WriteAll(HANDLE file, const uint8_t* p, DWORD n, DWORD& error)
{
    while (n) {
        DWORD written = 0;
        if (!WriteFile(file, p, n, &written, NULL)) {
            error = GetLastError();
            return false;
        }
        if (written == 0) {
            error = ERROR_DISK_FULL;
            return false;
        }
        p += written;
        n -= written;
    }
    return true;
}

bool PumpFile(const PumpJob& job, uint64_t& moved, DWORD& error)
{
    moved = 0;
    std::unique_ptr<uint8_t[]> storage(new (std::nothrow) uint8_t[size_t(kSlots) * kPumpChunk]);
    if (!storage) {
        error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    Pipe pipe;
    for (int i = 0; i < kSlots; ++i) {
        pipe.slots[i].data = storage.get() + size_t(i) * kPumpChunk;
        pipe.empty.push_back(i);
    }
    std::thread reader;
    try {
        reader = std::thread(ReadAhead, std::cref(job), std::ref(pipe));
    } catch (const std::system_error&) {
        error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }

    bool ok = true;
    for (;;) {
        int i;
        {
            std::unique_lock<std::mutex> hold(pipe.lock);
            pipe.changed.wait(hold, [&] { return !pipe.full.empty() || pipe.readerDone; });
            if (pipe.full.empty()) break;
            i = pipe.full.front();
            pipe.full.pop_front();
        }
        Slot& slot = pipe.slots[i];
        if (job.beforeWrite) job.beforeWrite(slot.data, slot.size, slot.offset);
        if (!WriteAll(job.out, slot.data, slot.size, error)) {
            ok = false;
            std::lock_guard<std::mutex> hold(pipe.lock);
            pipe.stop = true;
        } else {
            moved += slot.size;
            std::lock_guard<std::mutex> hold(pipe.lock);
            pipe.empty.push_back(i);
        }
        pipe.changed.notify_all();
        if (!ok) break;
    }
    reader.join();
    if (ok && pipe.readError != ERROR_SUCCESS) {
        ok = false;
        error = pipe.readError;
    }
    return ok;
}

}  // namespace vantor
