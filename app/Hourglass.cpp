#include "app/Hourglass.h"

#include <vector>

namespace {

struct TEntry {
    THourglass::TShape shape;
    int token;
};

struct TCursorStack {
    std::vector<TEntry> shapes;
    int lastToken = 0;
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
    PushToken(shape);
}

int THourglass::PushToken(TShape shape)
{
    TCursorStack &s = Stack();
    const int token = ++s.lastToken;
    s.shapes.push_back({shape, token});
    if (s.push)
        s.push(shape);
    return token;
}

void THourglass::Remove(int token)
{
    TCursorStack &s = Stack();
    size_t at = s.shapes.size();
    for (size_t i = 0; i < s.shapes.size(); ++i)
        if (s.shapes[i].token == token)
            at = i;
    if (at == s.shapes.size())
        return;
    // The backend knows only a stack: take off what lies above the entry,
    // drop it, and put the others back in their order.
    const std::vector<TEntry> above(s.shapes.begin() + long(at) + 1, s.shapes.end());
    for (size_t i = 0; i <= above.size(); ++i)
        if (s.pop)
            s.pop();
    s.shapes.resize(at);
    for (const TEntry &e : above) {
        s.shapes.push_back(e);
        if (s.push)
            s.push(e.shape);
    }
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
    return !s.shapes.empty() && s.shapes.back().shape == TShape::Wait;
}

void THourglass::SetBackend(TPushHook push, TPopHook pop)
{
    TCursorStack &s = Stack();
    s.push = std::move(push);
    s.pop = std::move(pop);
}
