#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

// A callable held in place: the event handlers of the controls and other
// callbacks, lambdas whose captures are plain values (pointers, numbers,
// small structures) of up to eight pointers' size. Unlike std::function it
// never allocates and copies as bytes, so it needs no code to copy or
// destroy what it holds: each handler costs Setup.exe one small function
// instead of three. Calling an empty one is a fault: test it first.
template <class Signature> class TxCallback;

template <class R, class... Args> class TxCallback<R(Args...)>
{
public:
    TxCallback() = default;
    TxCallback(std::nullptr_t) {}

    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TxCallback> &&
                                                !std::is_same_v<std::decay_t<F>, std::nullptr_t>>>
    TxCallback(F f)
    {
        static_assert(std::is_trivially_copyable_v<F> && std::is_trivially_destructible_v<F>,
                      "capture plain values only (pointers, numbers, small structures)");
        static_assert(sizeof(F) <= sizeof(m_Store) && alignof(F) <= alignof(void*),
                      "the captures take more than eight pointers' room");
        ::new (static_cast<void*>(m_Store)) F(f);
        m_pInvoke = [](const void* pStore, Args... args) -> R
        { return (*static_cast<const F*>(pStore))(std::forward<Args>(args)...); };
    }

    explicit operator bool() const { return m_pInvoke != nullptr; }

    R operator()(Args... args) const { return m_pInvoke(m_Store, std::forward<Args>(args)...); }

private:
    R (*m_pInvoke)(const void*, Args...) = nullptr;
    alignas(void*) unsigned char m_Store[8 * sizeof(void*)] = {};
};
