#include "fresh_state.hpp"

#include <iostream>
#include <streambuf>
#include <vector>

#include "compiler/core/core.hpp"

namespace {

class DiscardingBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

} // namespace

void silenceFrontEnd()
{
    static DiscardingBuffer discard;
    std::cerr.rdbuf(&discard);
    std::cout.rdbuf(&discard);
}

std::string sourceText(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::size_t visitTree(RefQUV_AST root)
{
    std::size_t nodes = 0;
    std::size_t fields = 0;
    std::vector<RefQUV_AST> pending;
    if (root)
        pending.push_back(root);
    while (!pending.empty()) {
        RefQUV_AST node = pending.back();
        pending.pop_back();
        for (; node; node = RefQUV_AST(node->getNextSibling())) {
            ++nodes;
            // Every field is read, so a dangling node cannot go unnoticed.
            fields += static_cast<std::size_t>(node->getType() + node->getLine() + node->getColumn()) +
                      node->getText().size();
            if (RefQUV_AST child = RefQUV_AST(node->getFirstChild()))
                pending.push_back(child);
        }
    }
    volatile std::size_t sink = fields;
    (void)sink;
    return nodes;
}
