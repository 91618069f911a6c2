// RecordingWriter: a file of rows written off the GUI thread. The GUI thread hands over whole
// rows, which cost it a copy under a short lock; a thread of its own writes them out as soon as
// much has come, and at least every half second, when it also has the system put them on the
// disk. What waits is bounded (the rows being written and at most maxPending bytes after them):
// a disk that takes nothing for seconds stops the writer rather than the memory growing.
//
// A failed write stops the writer: the file is cut back to its last whole row and closed, so
// every row counted by rowsWritten() stays readable.
#pragma once

#include "VEK_SYSTEM/SThread.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

class RecordingWriter : private SThread {
public:
    static constexpr size_t maxPending = 4u << 20;
    static constexpr size_t writeAt = 256u << 10; // what has come is written at once from here on
    static constexpr int flushIntervalMs = 500;

    enum Failure { None, WriteFailed, TooSlow };

    RecordingWriter() = default;
    ~RecordingWriter() override { finish(); }
    const char* getClassName() const override { return "RecordingWriter"; }

    // Creates the file (an existing one is replaced), writes the first line and starts the
    // thread. False with the system's error code when the file cannot be made.
    bool open(const char* path, const std::string& firstLine);
    // GUI thread: one whole row. False once the writer has stopped.
    bool append(const char* row, int length);
    // Writes what waits and closes the file; returns when the thread has ended.
    void finish();

    // Whether the thread has ended: after a failure, once what it could write is written.
    bool hasEnded() const { return !isRunning(); }
    Failure getFailure() const { return failure.load(); }
    unsigned getErrorCode() const { return errorCode.load(); }
    uint64_t rowsWritten() const { return written.load(); }

private:
    void onWorkTread() override;
    bool writeOut(const std::string& text);
    void fail(Failure why, unsigned code);

    HANDLE file = INVALID_HANDLE_VALUE;
    std::mutex lock;
    std::condition_variable wake;
    std::string pending; // rows handed over, not yet written (guarded by lock)
    uint64_t pendingRows = 0;
    bool finishing = false;
    std::mutex failureLock;
    std::atomic<Failure> failure{None};
    std::atomic<unsigned> errorCode{0};
    std::atomic<uint64_t> written{0};
    LONGLONG wholeLength = 0; // the file's length up to its last whole row (writer thread)
};
