#pragma once
#include <windows.h>

// Owns one critical section. Neither copied nor moved: the platform object must stay where
// it was initialised.
class SectionLock {
  public:
    SectionLock() { InitializeCriticalSection(&section_); }
    virtual ~SectionLock() { DeleteCriticalSection(&section_); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

    void enter() { EnterCriticalSection(&section_); }
    void leave() { LeaveCriticalSection(&section_); }

    // Holds the lock for a scope; can let go of it for a while (a wait) and take it again.
    class Guard {
      public:
        explicit Guard(SectionLock& lock) : lock_(lock) { lock_.enter(); }
        ~Guard() {
            if (held_)
                lock_.leave();
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

        void unlock() {
            if (held_) {
                lock_.leave();
                held_ = false;
            }
        }
        void relock() {
            if (!held_) {
                lock_.enter();
                held_ = true;
            }
        }

      private:
        SectionLock& lock_;
        bool held_ = true;
    };

  private:
    CRITICAL_SECTION section_;
};
