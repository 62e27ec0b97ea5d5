// Per-thread maps from handles to the framework objects wrapping them.
#pragma once
//
// The permanent map knows every wrapper that owns its handle (Attach). The
// temporary map holds wrappers FromHandle made for handles nobody wrapped;
// they own nothing and DeleteTempMap ends them.

#include <unordered_map>

template <class Wrapper>
class CHandleMapT {
public:
    std::unordered_map<const void*, Wrapper*> permanent;
    std::unordered_map<const void*, Wrapper*> temporary;

    Wrapper* Find(const void* h) const {
        if (auto it = permanent.find(h); it != permanent.end()) return it->second;
        if (auto it = temporary.find(h); it != temporary.end()) return it->second;
        return nullptr;
    }
};
