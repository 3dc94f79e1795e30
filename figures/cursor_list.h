// CursorList: a circular, doubly linked list of item pointers with a cursor. It owns its nodes,
// not its items; nodes are only ever added, never removed one by one.
#pragma once

#include <deque>

template <typename Item>
class CursorList {
  public:
    struct Node {
        Item* item;
        Node* next;
        Node* prev;
    };

    CursorList() = default;
    CursorList(const CursorList&) = delete;
    CursorList& operator=(const CursorList&) = delete;

    void Clear() {
        first = last = cursor = nullptr;
        count = 0;
        nodes_.clear();
    }

    // Adds after the last node, wherever the cursor was; the cursor ends on the new node.
    Item* Append(Item* item) {
        if (count == 0)
            return Start(item);
        MoveLast();
        return InsertAfterCursor(item);
    }

    // Adds after the cursor; the cursor ends on the new node.
    Item* InsertAfterCursor(Item* item) {
        if (count == 0)
            return Start(item);
        Node* node = &nodes_.emplace_back(Node{item, cursor->next, cursor});
        cursor->next->prev = node;
        cursor->next = node;
        cursor = node;
        last = first->prev;
        ++count;
        return item;
    }

    // The cursor moves need a non-empty list; on an empty one they return null.
    Item* MoveFirst() { return MoveTo(first); }
    Item* MoveLast() { return MoveTo(last); }
    // From the last node this wraps to the first.
    Item* MoveNext() { return MoveTo(cursor != nullptr ? cursor->next : nullptr); }
    Item* Current() const { return cursor != nullptr ? cursor->item : nullptr; }

    Node* first = nullptr;
    Node* last = nullptr;
    Node* cursor = nullptr;
    int count = 0;

  private:
    Item* Start(Item* item) {
        Node* node = &nodes_.emplace_back(Node{item, nullptr, nullptr});
        node->next = node->prev = node;
        first = last = cursor = node;
        count = 1;
        return item;
    }

    Item* MoveTo(Node* node) {
        if (node == nullptr)
            return nullptr;
        cursor = node;
        return cursor->item;
    }

    // Nodes stay where they are as the deque grows, so the links between them hold.
    std::deque<Node> nodes_;
};
