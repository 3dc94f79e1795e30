// CursorList: the ring, its cursor moves, appends and inserts.
#include <gtest/gtest.h>

#include <vector>

#include "figures/cursor_list.h"

namespace {

// Walks the ring both ways from first and checks it closes after count nodes.
void ExpectRing(const CursorList<int>& list, const std::vector<int>& expected) {
    ASSERT_EQ(list.count, static_cast<int>(expected.size()));
    const auto* node = list.first;
    for (int value : expected) {
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(*node->item, value);
        EXPECT_EQ(node->next->prev, node);
        node = node->next;
    }
    EXPECT_EQ(node, list.first);
    EXPECT_EQ(list.last->next, list.first);
    EXPECT_EQ(list.first->prev, list.last);
    EXPECT_EQ(*list.last->item, expected.back());
}

TEST(CursorList, StartsEmptyAndCursorMovesGiveNothing) {
    CursorList<int> list;
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
    EXPECT_EQ(list.cursor, nullptr);
    EXPECT_EQ(list.MoveFirst(), nullptr);
    EXPECT_EQ(list.MoveNext(), nullptr);
    EXPECT_EQ(list.MoveLast(), nullptr);
    EXPECT_EQ(list.Current(), nullptr);
}

TEST(CursorList, OneNodePointsToItselfBothWays) {
    int one = 1;
    CursorList<int> list;
    EXPECT_EQ(list.Append(&one), &one);
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.first, list.last);
    EXPECT_EQ(list.cursor, list.first);
    EXPECT_EQ(list.first->next, list.first);
    EXPECT_EQ(list.first->prev, list.first);
    EXPECT_EQ(list.MoveNext(), &one);
}

TEST(CursorList, MoveNextWrapsFromTheLastToTheFirst) {
    int items[] = {1, 2, 3};
    CursorList<int> list;
    for (int& item : items)
        list.Append(&item);
    std::vector<int> seen{*list.MoveFirst()};
    for (int i = 0; i < 3; ++i)
        seen.push_back(*list.MoveNext());
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 1}));
    EXPECT_EQ(*list.MoveLast(), 3);
    EXPECT_EQ(*list.MoveNext(), 1);
}

TEST(CursorList, AppendAfterAMiddleCursorStillAddsAtTheEnd) {
    int items[] = {1, 2, 3, 4};
    CursorList<int> list;
    for (int i = 0; i < 3; ++i)
        list.Append(&items[i]);
    list.MoveFirst();
    list.MoveNext();
    ASSERT_EQ(*list.Current(), 2);
    list.Append(&items[3]);
    ExpectRing(list, {1, 2, 3, 4});
    EXPECT_EQ(list.cursor, list.last);
}

TEST(CursorList, InsertAfterTheCursorGoesBetweenAndAfterTheLastBecomesTheLast) {
    int items[] = {1, 2, 3, 5, 6};
    CursorList<int> list;
    for (int i = 0; i < 3; ++i)
        list.Append(&items[i]);
    list.MoveFirst();
    list.MoveNext();
    EXPECT_EQ(list.InsertAfterCursor(&items[3]), &items[3]);
    EXPECT_EQ(*list.Current(), 5);
    ExpectRing(list, {1, 2, 5, 3});
    list.MoveLast();
    list.InsertAfterCursor(&items[4]);
    ExpectRing(list, {1, 2, 5, 3, 6});
}

TEST(CursorList, InsertIntoAnEmptyListStartsIt) {
    int seven = 7;
    CursorList<int> list;
    list.InsertAfterCursor(&seven);
    ExpectRing(list, {7});
}

TEST(CursorList, ClearEmptiesTheList) {
    int items[] = {1, 2};
    CursorList<int> list;
    for (int& item : items)
        list.Append(&item);
    list.Clear();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.cursor, nullptr);
    list.Append(&items[1]);
    ExpectRing(list, {2});
}

TEST(CursorList, ManyNodesKeepTheirLinks) {
    std::vector<int> items(100000);
    CursorList<int> list;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        items[i] = i;
        list.Append(&items[i]);
    }
    ExpectRing(list, items);
}

}  // namespace
