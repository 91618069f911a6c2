// The platform's socket handle behind SNetworkStream::Socket, "try again later" and "connect
// under way".
// Included only by the stream's sources, after the platform's socket headers.
#pragma once

#include "VEK_SYSTEM/SNetworkStream.h"

#ifdef _WIN32
inline SOCKET nat(SNetworkStream::Socket s) { return (SOCKET)s; }
inline bool wouldBlock(unsigned e) { return e == WSAEWOULDBLOCK; }
inline bool connectUnderWay(unsigned e) { return e == WSAEWOULDBLOCK; }
#else
#include <cerrno>
inline int nat(SNetworkStream::Socket s) { return (int)s; }
inline bool wouldBlock(unsigned e) { return e == EAGAIN || e == EWOULDBLOCK || e == EINTR; }
inline bool connectUnderWay(unsigned e) { return e == EINPROGRESS || e == EINTR; }
#endif
