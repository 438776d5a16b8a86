#include "ReadAheadSource.h"

#include "BurnApi.h"

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace ld {

namespace {

struct Chunk
{
    std::vector<unsigned char> bytes;
    size_t length = 0;
};

struct ReadAhead
{
    burn::burn_source* inner = nullptr;
    std::vector<Chunk> ring;
    size_t head = 0;   // next chunk the consumer takes
    size_t filled = 0; // chunks ready
    size_t offset = 0; // bytes of the head chunk already taken
    bool started = false;
    bool finished = false; // the inner source ended (or failed)
    bool failed = false;
    bool stopping = false;
    std::mutex mutex;
    std::condition_variable changed;
    std::thread worker;

    int readInner(unsigned char* buffer, int size)
    {
        return inner->read_xt ? inner->read_xt(inner, buffer, size)
                              : inner->read(inner, buffer, size);
    }

    void produce()
    {
        size_t tail = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] { return stopping || filled < ring.size(); });
                if (stopping)
                    return;
            }
            // The tail chunk is free and only this thread touches it until it is counted.
            Chunk& chunk = ring[tail];
            const int got = readInner(chunk.bytes.data(), int(chunk.bytes.size()));
            std::lock_guard<std::mutex> lock(mutex);
            if (got > 0) {
                chunk.length = size_t(got);
                ++filled;
                tail = (tail + 1) % ring.size();
            }
            if (got < int(chunk.bytes.size())) {
                failed = got < 0;
                finished = true;
            }
            changed.notify_all();
            if (finished)
                return;
        }
    }

    int consume(unsigned char* buffer, int size)
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (!started) {
            started = true;
            worker = std::thread([this] { produce(); });
        }
        int done = 0;
        while (done < size) {
            changed.wait(lock, [&] { return stopping || filled > 0 || finished; });
            if (stopping)
                return -1;
            if (filled == 0) // finished: the inner source has nothing more
                break;
            Chunk& chunk = ring[head];
            const size_t take = std::min(chunk.length - offset, size_t(size - done));
            std::memcpy(buffer + done, chunk.bytes.data() + offset, take);
            done += int(take);
            offset += take;
            if (offset == chunk.length) {
                offset = 0;
                head = (head + 1) % ring.size();
                --filled;
                changed.notify_all();
            }
        }
        return done == 0 && failed ? -1 : done;
    }

    void stop()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        if (worker.joinable())
            worker.join();
    }
};

ReadAhead* stateOf(burn::burn_source* source)
{
    return static_cast<ReadAhead*>(source->data);
}

int readSource(burn::burn_source* source, unsigned char* buffer, int size)
{
    return stateOf(source)->consume(buffer, size);
}

off_t sourceSize(burn::burn_source* source)
{
    burn::burn_source* inner = stateOf(source)->inner;
    return inner->get_size(inner);
}

int setSourceSize(burn::burn_source* source, off_t size)
{
    burn::burn_source* inner = stateOf(source)->inner;
    return inner->set_size ? inner->set_size(inner, size) : 0;
}

int cancelSource(burn::burn_source* source)
{
    ReadAhead* state = stateOf(source);
    if (state->inner->version > 0 && state->inner->cancel)
        state->inner->cancel(state->inner);
    state->stop();
    return 1;
}

void freeSource(burn::burn_source* source)
{
    ReadAhead* state = stateOf(source);
    state->stop();
    burn_source_free(state->inner);
    delete state;
}

} // namespace

burn::burn_source* ReadAheadSource::wrap(burn::burn_source* inner, size_t chunkBytes, size_t chunks)
{
    auto* source = static_cast<burn::burn_source*>(std::calloc(1, sizeof(burn::burn_source)));
    if (!source)
        return nullptr;
    auto* state = new ReadAhead;
    state->inner = inner;
    ++inner->refcount;
    state->ring.resize(chunks < 2 ? 2 : chunks);
    for (Chunk& chunk : state->ring)
        chunk.bytes.resize(chunkBytes);
    source->refcount = 1;
    source->version = 1;
    source->read_xt = readSource;
    source->get_size = sourceSize;
    source->set_size = setSourceSize;
    source->cancel = cancelSource;
    source->free_data = freeSource;
    source->data = state;
    return source;
}

} // namespace ld
