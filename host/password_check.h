#pragma once

// Windows 9x family only (elsewhere these do nothing): the system's screen-saver password
// verifier, "PASSWORD.CPL", loaded when the user asked for password protection.
void preparePasswordCheck();
void releasePasswordCheck();

// Tells a Windows 9x family system whether a screen saver runs; nothing elsewhere.
void setSaverRunning(bool on);

// The platform call of setSaverRunning without the platform test, for a caller that has
// made it already (the fault guard, which may not read the host record).
void announceSaverRunning(bool on);
