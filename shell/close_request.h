// The request to close the main window: the program's orderly stop.
//
// Any thread may ask; the main window closes at its next message. Until a
// window exists (and in headless runs) requests are only counted, so that
// tests can see them.
#pragma once

void RequestMainWindowClose();
int CloseRequestCount();
void ResetCloseRequests();
