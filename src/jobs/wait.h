#pragma once

// A pause of the calling thread, behind a seam so tests do not sleep.
class Wait {
public:
    virtual ~Wait() = default;
    // Returns after `milliseconds` have passed.
    virtual void wait(int milliseconds) = 0;
};

// The real pause: blocks the calling thread, the user-interface thread
// included, which neither repaints nor takes input meanwhile.
class BlockingWait : public Wait {
public:
    void wait(int milliseconds) override;
};
