#include "app/RecordingWriter.h"

#include <chrono>

bool RecordingWriter::open(const char* path, const std::string& firstLine) {
    finish();
    failure = None;
    errorCode = 0;
    written = 0;
    finishing = false;
    pending.clear();
    pendingRows = 0;
    wholeLength = 0;
    // Others may read the file while it grows; nobody may delete it under the writer.
    file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errorCode = GetLastError();
        return false;
    }
    if (!writeOut(firstLine) || !start()) {
        if (!errorCode) errorCode = GetLastError();
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
        return false;
    }
    return true;
}

bool RecordingWriter::append(const char* row, int length) {
    std::lock_guard<std::mutex> hold(lock);
    if (finishing || failure != None) return false;
    if (pending.size() + (size_t)length > maxPending) {
        // What waits is still written; the rows after it are not taken.
        fail(TooSlow, 0);
        finishing = true;
        wake.notify_one();
        return false;
    }
    pending.append(row, (size_t)length);
    ++pendingRows;
    if (pending.size() >= writeAt && pending.size() - (size_t)length < writeAt) wake.notify_one();
    return true;
}

void RecordingWriter::finish() {
    {
        std::lock_guard<std::mutex> hold(lock);
        finishing = true;
    }
    wake.notify_one();
    wait();
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
}

// Writes what came whenever much has come, and at least every flush interval, then has the
// system put what was written on the disk.
void RecordingWriter::onWorkTread() {
    using Clock = std::chrono::steady_clock;
    std::string out;
    Clock::time_point flushAt = Clock::now() + std::chrono::milliseconds(flushIntervalMs);
    bool unflushed = false;
    for (;;) {
        uint64_t rows = 0;
        bool last = false;
        {
            std::unique_lock<std::mutex> hold(lock);
            wake.wait_until(hold, flushAt, [this] { return finishing || pending.size() >= writeAt; });
            out.swap(pending);
            rows = pendingRows;
            pendingRows = 0;
            last = finishing;
        }
        if (!out.empty()) {
            if (!writeOut(out)) return;
            written += rows;
            out.clear();
            unflushed = true;
        }
        const Clock::time_point now = Clock::now();
        if (now < flushAt && !last) continue;
        if (unflushed && !FlushFileBuffers(file)) {
            fail(WriteFailed, GetLastError());
            return;
        }
        unflushed = false;
        flushAt = now + std::chrono::milliseconds(flushIntervalMs);
        if (last) return;
    }
}

// The whole text or a failure: a write that takes only part of it is tried again with the
// rest, which then says why the disk took no more. A failure cuts the file back.
bool RecordingWriter::writeOut(const std::string& text) {
    const char* at = text.data();
    DWORD left = (DWORD)text.size();
    while (left > 0) {
        DWORD done = 0;
        if (!WriteFile(file, at, left, &done, nullptr) || done == 0) {
            DWORD code = GetLastError();
            fail(WriteFailed, code ? code : ERROR_WRITE_FAULT);
            LARGE_INTEGER whole;
            whole.QuadPart = wholeLength;
            if (SetFilePointerEx(file, whole, nullptr, FILE_BEGIN)) SetEndOfFile(file);
            return false;
        }
        at += done;
        left -= done;
    }
    wholeLength += (LONGLONG)text.size();
    return true;
}

// The first failure is kept, but a write that fails says more than a disk that was slow.
void RecordingWriter::fail(Failure why, unsigned code) {
    std::lock_guard<std::mutex> hold(failureLock); // the GUI thread and the writer may both fail
    Failure before = failure.load();
    if (before == WriteFailed || (before == TooSlow && why == TooSlow)) return;
    errorCode = code;
    failure = why;
}
