// The index beside the declarations chain and the constants list: it must find what a walk of the
// list from its head finds first, however the list has changed since the last lookup.
#include "name_index.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// Links a new node called name at the head of *head, as the parser's readers do.
const CZKPARSE_KEYWORD* Link(std::unique_ptr<CZKPARSE_KEYWORD>* head, const char* name) {
  auto node = std::make_unique<CZKPARSE_KEYWORD>();
  std::strcpy(node->name, name);
  node->next = head->release();
  *head = std::move(node);
  return head->get();
}

TEST(NameIndexTest, FindsWhatAWalkFromTheHeadFindsFirst) {
  std::unique_ptr<CZKPARSE_KEYWORD> list;
  const CZKPARSE_KEYWORD* const oldA = Link(&list, "a");
  const CZKPARSE_KEYWORD* const b = Link(&list, "b");
  NameIndex exact(NameIndex::kExactCase);
  NameIndex folded(NameIndex::kIgnoreCase);
  EXPECT_EQ(exact.Find(list.get(), "a"), oldA);
  EXPECT_EQ(exact.Find(list.get(), "A"), nullptr);
  EXPECT_EQ(folded.Find(list.get(), "A"), oldA);
  EXPECT_EQ(exact.Find(list.get(), ""), nullptr);

  // Nodes linked at the head since the last lookup are found without telling the index.
  const CZKPARSE_KEYWORD* const newA = Link(&list, "a");
  Link(&list, "");
  EXPECT_EQ(exact.Find(list.get(), "a"), newA);
  EXPECT_EQ(exact.Find(list.get(), ""), list.get());
  EXPECT_EQ(exact.Find(list.get(), "b"), b);

  // Dropping the newest part brings back what it hid.
  exact.Drop(list.get(), newA->next);
  EXPECT_EQ(exact.Find(newA->next, "a"), oldA);
  EXPECT_EQ(exact.Find(newA->next, ""), nullptr);

  // A list that does not continue the one taken in is taken in anew.
  std::unique_ptr<CZKPARSE_KEYWORD> other;
  const CZKPARSE_KEYWORD* const otherB = Link(&other, "b");
  EXPECT_EQ(exact.Find(other.get(), "b"), otherB);
  EXPECT_EQ(exact.Find(other.get(), "a"), nullptr);
  EXPECT_EQ(folded.Find(nullptr, "a"), nullptr);
}

}  // namespace
