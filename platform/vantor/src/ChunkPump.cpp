#include "ChunkPump.h"

#include <afxwin.h>
#include <afxmt.h>

#include <deque>
#include <memory>
#include <new>

namespace vantor {
namespace {

const int kSlots = 4;

struct Slot {
    uint8_t* data = nullptr;
    DWORD size = 0;
    uint64_t offset = 0;
};

// Shared between the reading thread and the writing (calling) thread. Each
// side has one waiter, so an auto-reset event per side is enough: a signal
// given while nobody waits is kept for the next wait.
struct Pipe {
    CCriticalSection lock;
    CEvent toReader;  // a slot came back empty, or the writer gave up
    CEvent toWriter;  // a slot came in full, or the reader is done
    std::deque<int> empty, full;
    bool readerDone = false;
    bool stop = false;  // the writer gave up
    DWORD readError = ERROR_SUCCESS;
    Slot slots[kSlots];
};

// Waits on `wake` until `ready` holds, then runs `take` still under the lock.
template <class Ready, class Take>
void WaitUnderLock(Pipe& pipe, CEvent& wake, Ready ready, Take take)
{
    for (;;) {
        {
            CSingleLock hold(&pipe.lock, TRUE);
            if (ready()) {
                take();
                return;
            }
        }
        wake.Lock();
    }
}

struct ReaderStart {
    const PumpJob* job;
    Pipe* pipe;
};

void ReadAhead(const PumpJob& job, Pipe& pipe)
{
    uint64_t offset = 0;
    DWORD error = ERROR_SUCCESS;
    for (;;) {
        int i = -1;
        WaitUnderLock(pipe, pipe.toReader, [&] { return pipe.stop || !pipe.empty.empty(); }, [&] {
            if (pipe.stop) return;
            i = pipe.empty.front();
            pipe.empty.pop_front();
        });
        if (i < 0) break;
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
            CSingleLock hold(&pipe.lock, TRUE);
            pipe.empty.push_back(i);
            break;
        }
        if (job.afterRead) job.afterRead(slot.data, got, offset);
        slot.size = got;
        slot.offset = offset;
        offset += got;
        {
            CSingleLock hold(&pipe.lock, TRUE);
            pipe.full.push_back(i);
        }
        pipe.toWriter.SetEvent();
    }
    {
        CSingleLock hold(&pipe.lock, TRUE);
        pipe.readerDone = true;
        pipe.readError = error;
    }
    pipe.toWriter.SetEvent();
}

UINT ReaderEntry(LPVOID param)
{
    auto* start = static_cast<ReaderStart*>(param);
    ReadAhead(*start->job, *start->pipe);
    return 0;
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
    if (!pipe.toReader.m_hObject || !pipe.toWriter.m_hObject) {
        error = GetLastError();
        return false;
    }
    for (int i = 0; i < kSlots; ++i) {
        pipe.slots[i].data = storage.get() + size_t(i) * kPumpChunk;
        pipe.empty.push_back(i);
    }
    ReaderStart start{&job, &pipe};
    // Kept (not self-deleting), so the writer can wait for its end below.
    std::unique_ptr<CWinThread> reader(
        AfxBeginThread(ReaderEntry, &start, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
    if (!reader) {
        error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    reader->m_bAutoDelete = FALSE;
    reader->ResumeThread();

    bool ok = true;
    for (;;) {
        int i = -1;
        WaitUnderLock(pipe, pipe.toWriter, [&] { return !pipe.full.empty() || pipe.readerDone; }, [&] {
            if (pipe.full.empty()) return;
            i = pipe.full.front();
            pipe.full.pop_front();
        });
        if (i < 0) break;
        Slot& slot = pipe.slots[i];
        if (job.beforeWrite) job.beforeWrite(slot.data, slot.size, slot.offset);
        if (!WriteAll(job.out, slot.data, slot.size, error)) {
            ok = false;
            CSingleLock hold(&pipe.lock, TRUE);
            pipe.stop = true;
        } else {
            moved += slot.size;
            CSingleLock hold(&pipe.lock, TRUE);
            pipe.empty.push_back(i);
        }
        pipe.toReader.SetEvent();
        if (!ok) break;
    }
    WaitForSingleObject(reader->m_hThread, INFINITE);
    if (ok && pipe.readError != ERROR_SUCCESS) {
        ok = false;
        error = pipe.readError;
    }
    return ok;
}

}  // namespace vantor
