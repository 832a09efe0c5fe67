// The chunk pump on real files and pipes: its reading thread runs ahead of
// the writer, a writer that fails stops the reader (no hang), and a source
// shorter than the set limit is reported.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "ChunkPump.h"
#include "TestThread.h"
#include "testsupport.h"

using testsupport::ScratchDir;
using testsupport::WaitFor;

namespace {

std::string Pattern(size_t size)
{
    std::string data(size, '\0');
    uint32_t x = 12345;
    for (char& c : data) {
        x = x * 1664525u + 1013904223u;
        c = char(x >> 24);
    }
    return data;
}

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() { Close(); }
    void Close()
    {
        if (h != INVALID_HANDLE_VALUE && h) CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
};

HANDLE OpenRead(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
}

HANDLE OpenWrite(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
}

// Runs the pump on a thread of its own, so a pump that hangs fails the test
// instead of stopping it.
struct PumpRun {
    uint64_t moved = 0;
    DWORD error = ERROR_SUCCESS;
    bool ok = false;
    std::atomic<bool> done{false};
    testsupport::Thread thread;

    explicit PumpRun(const vantor::PumpJob& job)
        : thread([this, &job] {
              ok = vantor::PumpFile(job, moved, error);
              done = true;
          })
    {
    }
    bool Finished(DWORD timeoutMs)
    {
        if (!WaitFor([this] { return done.load(); }, timeoutMs)) {
            thread.detach();  // hung: left to the end of the program
            return false;
        }
        thread.join();
        return true;
    }
};

}  // namespace

TEST(ChunkPump, ReaderWorksAheadWhileTheWriterWaitsAndTheCopyIsWhole)
{
    ScratchDir dir("chunkpump-ahead");
    const std::string data = Pattern(6 * vantor::kPumpChunk + 1234);
    ASSERT_TRUE(testsupport::WriteFileBytes(dir / "in.bin", data));
    Handle in(OpenRead(dir / "in.bin")), out(OpenWrite(dir / "out.bin"));
    ASSERT_NE(in.h, INVALID_HANDLE_VALUE);
    ASSERT_NE(out.h, INVALID_HANDLE_VALUE);

    std::atomic<int> chunksRead{0};
    std::atomic<bool> sawReadAhead{false};
    DWORD writerThread = 0, readerThread = 0;
    vantor::PumpJob job;
    job.in = in.h;
    job.out = out.h;
    job.afterRead = [&](uint8_t*, DWORD, uint64_t) {
        readerThread = GetCurrentThreadId();
        ++chunksRead;
    };
    job.beforeWrite = [&](uint8_t*, DWORD, uint64_t offset) {
        writerThread = GetCurrentThreadId();
        // Holding the first chunk back: the reader must still fill the
        // other slots meanwhile.
        if (offset == 0) sawReadAhead = WaitFor([&] { return chunksRead.load() >= 4; }, 10000);
    };
    PumpRun run(job);
    ASSERT_TRUE(run.Finished(60000)) << "the pump hung";
    EXPECT_TRUE(run.ok) << run.error;
    EXPECT_TRUE(sawReadAhead) << "the reader waited for the writer";
    EXPECT_NE(readerThread, writerThread);
    EXPECT_EQ(run.moved, data.size());
    out.Close();
    EXPECT_TRUE(testsupport::ReadFileBytes(dir / "out.bin") == data);
}

TEST(ChunkPump, FailingWriterStopsTheReader)
{
    ScratchDir dir("chunkpump-stop");
    const std::string data = Pattern(10 * vantor::kPumpChunk);
    ASSERT_TRUE(testsupport::WriteFileBytes(dir / "in.bin", data));
    Handle in(OpenRead(dir / "in.bin"));
    ASSERT_NE(in.h, INVALID_HANDLE_VALUE);
    // A pipe whose far end goes away after two chunks: writes then fail.
    HANDLE readEnd = NULL, writeEnd = NULL;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, NULL, 0));
    Handle pipeIn(readEnd), pipeOut(writeEnd);
    testsupport::Thread drain([&] {
        std::string buffer(64 * 1024, '\0');
        DWORD total = 0, got = 0;
        while (total < 2 * vantor::kPumpChunk &&
               ReadFile(pipeIn.h, &buffer[0], DWORD(buffer.size()), &got, NULL) && got)
            total += got;
        pipeIn.Close();
    });

    vantor::PumpJob job;
    job.in = in.h;
    job.out = pipeOut.h;
    PumpRun run(job);
    ASSERT_TRUE(run.Finished(60000)) << "the reader went on waiting for the failed writer";
    drain.join();
    EXPECT_FALSE(run.ok);
    EXPECT_NE(run.error, DWORD(ERROR_SUCCESS));
    EXPECT_LT(run.moved, data.size());
}

TEST(ChunkPump, SourceShorterThanTheLimitIsReported)
{
    ScratchDir dir("chunkpump-short");
    const std::string data = Pattern(vantor::kPumpChunk + 100);
    ASSERT_TRUE(testsupport::WriteFileBytes(dir / "in.bin", data));
    {
        Handle in(OpenRead(dir / "in.bin")), out(OpenWrite(dir / "exact.bin"));
        vantor::PumpJob job;
        job.in = in.h;
        job.out = out.h;
        job.limit = data.size() - 50;
        PumpRun run(job);
        ASSERT_TRUE(run.Finished(60000));
        EXPECT_TRUE(run.ok) << run.error;
        EXPECT_EQ(run.moved, data.size() - 50);
    }
    EXPECT_TRUE(testsupport::ReadFileBytes(dir / "exact.bin") == data.substr(0, data.size() - 50));
    Handle in(OpenRead(dir / "in.bin")), out(OpenWrite(dir / "long.bin"));
    vantor::PumpJob job;
    job.in = in.h;
    job.out = out.h;
    job.limit = data.size() + 1;
    PumpRun run(job);
    ASSERT_TRUE(run.Finished(60000));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.error, DWORD(ERROR_HANDLE_EOF));
    EXPECT_EQ(run.moved, data.size());
}
