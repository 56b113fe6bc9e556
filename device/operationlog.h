#pragma once

class KZConfigThread;

// Logs the end of each of the worker's operations, with its result and its
// failure text, from the worker's own thread as the result is signalled.
// Call before anyone else connects to the worker, so that the end is in the
// log before a receiver reads it.
void logOperationsOf(KZConfigThread *worker);
