#pragma once

// Ctrl+C, a hang-up or a termination asks a long command to stop: it then cleans up
// (no half-written archive, no temporary file) instead of dying where it stands.
void CatchInterrupts();
bool WasInterrupted();
// The conventional exit status after an interrupt.
constexpr int EXIT_INTERRUPTED = 130;
