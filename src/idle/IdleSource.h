// One way of learning that the session is idle: a thin adapter over a compositor protocol,
// a bus service or the X server. The launcher's loop polls its descriptor and lets it
// read what arrived; it reports idle and active edges, nothing more.
#pragma once

#include <poll.h>

#include <vector>

// Locked: the desktop's lock screen is coming up.
enum class IdleEdge { Idle, Active, Locked };

class IdleSource {
public:
    virtual ~IdleSource() = default;
    // The descriptor to poll, and for what; called before every poll (a source flushes
    // what it has to send here, and may handle what it had already read).
    virtual int descriptor() const = 0;
    virtual short pollEvents() = 0;
    // Reads and handles what arrived. False when the session has gone away.
    virtual bool dispatch(short revents) = 0;
    // True when edges are waiting (the loop then does not wait in poll).
    bool hasEdges() const { return !edges_.empty(); }
    // The edges seen since the last call, oldest first.
    std::vector<IdleEdge> takeEdges() {
        std::vector<IdleEdge> edges;
        edges.swap(edges_);
        return edges;
    }

protected:
    void report(IdleEdge edge) { edges_.push_back(edge); }

private:
    std::vector<IdleEdge> edges_;
};
