#pragma once
// Waiting on the user interface thread for a worker that reports to it with
// SendMessage: plain waits would leave such a worker blocked in its call.
#include <windows.h>

// Waits up to `timeoutMs` for `thread` to end while answering the messages
// other threads send to this one (posted messages stay queued); true when
// the thread ended.
bool hnWaitForWorker(HANDLE thread, DWORD timeoutMs);

// Waits up to `timeoutMs` for `object` (none: the whole time) while this
// thread's windows stay painted and messages sent by other threads are
// answered; input stays queued, so nothing else runs in between. True when
// the object was signalled.
bool hnWaitKeepingPainted(HANDLE object, DWORD timeoutMs);
// The same for the first of `count` objects: the index of the one signalled,
// -1 when none was within `timeoutMs` or the wait failed.
int hnWaitAnyKeepingPainted(const HANDLE* objects, DWORD count, DWORD timeoutMs);

// Lets `ms` pass while dispatching every message of this thread's windows, so
// a box shown meanwhile paints and answers. A quit request ends the wait
// early and stays queued for the loop that owns it.
void hnWaitHandlingMessages(DWORD ms);
