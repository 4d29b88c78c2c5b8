#include "app/Hourglass.h"

#include <vector>

namespace {

struct TCursorStack {
    std::vector<THourglass::TShape> shapes;
    THourglass::TPushHook push;
    THourglass::TPopHook pop;
};

TCursorStack &Stack()
{
    static TCursorStack stack;
    return stack;
}

} // namespace

THourglass::THourglass(TShape shape)
{
    Push(shape);
}

THourglass::~THourglass()
{
    Pop();
}

void THourglass::Push(TShape shape)
{
    TCursorStack &s = Stack();
    s.shapes.push_back(shape);
    if (s.push)
        s.push(shape);
}

void THourglass::Pop()
{
    TCursorStack &s = Stack();
    // A pop without a push would restore a cursor that somebody else saved.
    if (s.shapes.empty())
        return;
    s.shapes.pop_back();
    if (s.pop)
        s.pop();
}

int THourglass::Depth()
{
    return static_cast<int>(Stack().shapes.size());
}

bool THourglass::Waiting()
{
    const TCursorStack &s = Stack();
    return !s.shapes.empty() && s.shapes.back() == TShape::Wait;
}

void THourglass::SetBackend(TPushHook push, TPopHook pop)
{
    TCursorStack &s = Stack();
    s.push = std::move(push);
    s.pop = std::move(pop);
}
