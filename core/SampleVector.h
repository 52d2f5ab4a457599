// SampleVector: a vector of samples whose resize leaves the new samples as
// they are, for strips that a read fills whole. Clearing a day's strip first
// is a pass over tens of megabytes that the read then overwrites.
#pragma once

#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

template <class T> class DefaultInitAllocator : public std::allocator<T> {
public:
    using std::allocator<T>::allocator;
    template <class U> struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    DefaultInitAllocator() = default;
    template <class U> DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

    // Value-initialisation (zeros) only where a value is asked for.
    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible<U>::value)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using SampleVector = std::vector<short, DefaultInitAllocator<short>>;

// Samples held by one owner and shared with others without a copy: a
// document's lead and the views that show it. Whoever holds it keeps the
// samples alive, even after the document has dropped them.
struct SharedSamples {
    std::shared_ptr<const short> samples;   // into whatever holds them
    size_t count = 0;

    explicit operator bool() const { return samples && count > 0; }
    // A share of the `count` samples from `first` that `owner` keeps alive.
    template <class Owner> static SharedSamples Of(std::shared_ptr<Owner> owner, const short* first, size_t count)
    {
        SharedSamples shared;
        if (!owner || !first || count == 0) return shared;
        shared.samples = std::shared_ptr<const short>(std::move(owner), first);
        shared.count = count;
        return shared;
    }
};
