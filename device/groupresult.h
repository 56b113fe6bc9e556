#pragma once

class KZConfigThread;

// Writes the debug line of a read's or write's end ("what: OK .. ERR .."),
// then each failed group's reason as the worker left it.
void logGroupResult(const char *what, int flagsOk, int flagsError, const KZConfigThread &worker);
