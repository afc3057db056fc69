#include "BackgroundRun.h"

#include <QMetaObject>

#include <utility>

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {}

BackgroundRun::~BackgroundRun()
{
    Cancel();
    for (const std::unique_ptr<Piece>& piece : pieces_)
        piece->thread.join();
}

void BackgroundRun::Start(Work work)
{
    Cancel();
    auto piece = std::make_unique<Piece>();
    Piece* running = piece.get();
    running->generation = current_ = next_++;
    const std::uint64_t generation = running->generation;
    // The posts go through the event queue of this object's thread; a
    // queued call to a destroyed object is dropped, and the destructor joins
    // every thread before the object goes.
    Post post = [this, generation](std::function<void()> deliver) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, deliver = std::move(deliver)] {
                if (generation == current_)
                    deliver();
            },
            Qt::QueuedConnection);
    };
    pieces_.push_back(std::move(piece));
    running->thread = std::thread([this, running, generation, work = std::move(work), post = std::move(post)] {
        work(running->cancel, post);
        running->ended = true;
        QMetaObject::invokeMethod(this, [this, generation] { Reap(generation); }, Qt::QueuedConnection);
    });
}

void BackgroundRun::Cancel()
{
    for (const std::unique_ptr<Piece>& piece : pieces_)
        if (piece->generation == current_)
            piece->cancel = true;
    current_ = 0;
}

bool BackgroundRun::Running() const
{
    for (const std::unique_ptr<Piece>& piece : pieces_)
        if (piece->generation == current_ && !piece->ended)
            return true;
    return false;
}

void BackgroundRun::Reap(std::uint64_t generation)
{
    for (auto it = pieces_.begin(); it != pieces_.end(); ++it) {
        if ((*it)->generation == generation) {
            (*it)->thread.join();
            pieces_.erase(it);
            return;
        }
    }
}
