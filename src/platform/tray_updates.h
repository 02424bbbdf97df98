// Keeping the notification area's icon up to date through a shell whose calls can fail: a
// shell busy under load lets a change time out while the icon stays, and a shell that ended
// has lost it. One failure must not freeze the gauge or silence the balloons.
#pragma once

namespace corvane {

// The shell's calls for one icon; each says whether the shell took it.
class TrayShell {
public:
    // Every part of the icon, for `modify`: what an add would have given it.
    static constexpr unsigned kWholeIcon = ~0u;

    virtual ~TrayShell() = default;
    virtual bool add() = 0;
    // Sends the parts of the icon named by `changes` (the caller's flags, or kWholeIcon).
    virtual bool modify(unsigned changes) = 0;
    // Asks the shell for the icon's newer behaviour and its messages; false where it did not
    // take it, or has no such behaviour.
    virtual bool setVersion() = 0;
};

class TrayUpdates {
public:
    // The icon is wanted with `changes` made since the last call. False while it is not shown.
    bool show(TrayShell& shell, unsigned changes);
    // The icon was taken away, or the shell started again without it.
    void forget() {
        added_ = false;
        newer_ = false;
        unsent_ = 0;
    }
    // The shell has the icon: balloons can be shown on it.
    bool added() const { return added_; }
    // The shell took the newer behaviour: its messages for the icon come in the newer form.
    bool newerMessages() const { return newer_; }

private:
    bool added_ = false;
    bool newer_ = false;
    unsigned unsent_ = 0;  // changes the shell has not taken yet
};

}  // namespace corvane
