// VEK_ASSERT: the library's assertion for conditions it cannot survive (allocation
// failures). Reports the condition, the source file and the line, then ends the program.
#pragma once

[[noreturn]] void vekAssertFailed(const char* condition, const char* file, int line);

#define VEK_ASSERT(condition, file) \
    ((condition) ? (void)0 : vekAssertFailed(#condition, file, __LINE__))
