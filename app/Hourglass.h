#pragma once

#include <functional>

// Shows the hourglass for the lifetime of the object. Uses nest: each one
// pushes onto the cursor stack and restores what was there before it, so an
// inner operation never resets the cursor of an outer one. The core has no
// cursor of its own; the windows install the backend that really changes it
// (without one, only the depth is counted).
class THourglass
{
public:
    enum class TShape { Wait, Normal };

    explicit THourglass(TShape shape = TShape::Wait);
    ~THourglass();
    THourglass(const THourglass &) = delete;
    THourglass &operator=(const THourglass &) = delete;

    // Pushes a shape onto the stack / restores the one saved before it.
    static void Push(TShape shape);
    static void Pop();
    // For a user whose end does not nest with the others (the splash closes
    // on a timer, maybe while an action's hourglass is on top): Push that
    // returns a token, and Remove that takes exactly that entry off the
    // stack wherever it stands. An unknown or removed token does nothing.
    static int PushToken(TShape shape);
    static void Remove(int token);
    // Number of shapes on the stack.
    static int Depth();
    // The hourglass is what shows now (the top of the stack is a wait).
    static bool Waiting();

    using TPushHook = std::function<void(TShape)>;
    using TPopHook = std::function<void()>;
    static void SetBackend(TPushHook push, TPopHook pop);
};
