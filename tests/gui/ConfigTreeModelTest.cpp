// The tree model against Qt's own model checker while the tree changes under it.

#include "gui/ConfigTreeModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

namespace quillon::gui {
namespace {

struct ModelFixture : ::testing::Test {
  ModelFixture() {
    Tree.Assign({{"[Player][]", 0},
                 {"1. Power", 1},
                 {"<Command>[MouseLeft]", 2},
                 {"2. Menu", 1},
                 {"3. Mute", 1},
                 {"<Remoute Control Type> - TV", 0}});
  }

  ConfigTree Tree;
  ConfigTreeModel Model{Tree};
  QAbstractItemModelTester Tester{&Model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ModelFixture, RowsFollowThePreOrderList) {
  EXPECT_EQ(Model.rowCount(), 2);
  const QModelIndex root = Model.index(0, 0);
  EXPECT_EQ(root.data().toString(), "[Player][]");
  EXPECT_EQ(Model.rowCount(root), 3);
  const QModelIndex power = Model.index(0, 0, root);
  EXPECT_EQ(Model.index(0, 0, power).data().toString(), "<Command>[MouseLeft]");
  EXPECT_EQ(Model.parent(power), root);
  for (std::int32_t node = 0; node < Tree.Count(); ++node) {
    EXPECT_EQ(Model.NodeAt(Model.IndexOf(node)), node);
    EXPECT_EQ(Model.IndexOf(node).data().toString().toStdString(), Tree.Text(node));
  }
  EXPECT_EQ(Model.NodeAt({}), -1);
  EXPECT_FALSE(Model.IndexOf(99).isValid());
}

TEST_F(ModelFixture, IndexesOfNodesSurviveInsertionsAndRemovalsBeforeThem) {
  const QPersistentModelIndex mute = Model.IndexOf(4);
  Tree.AddChild(3, "<SendKey>[abc]");
  Tree.AddChild(1, "<Command>[MouseRight]");
  EXPECT_EQ(Model.NodeAt(mute), 6);
  EXPECT_EQ(mute.data().toString(), "3. Mute");
  Tree.Remove(1);
  EXPECT_EQ(Model.NodeAt(mute), 3);
  EXPECT_EQ(Model.rowCount(Model.index(0, 0)), 2);
  Tree.SetText(3, "3. Mute [Quiet]");
  EXPECT_EQ(mute.data().toString(), "3. Mute [Quiet]");
  Tree.AddTopLevel("extra");
  EXPECT_EQ(Model.rowCount(), 3);
}

TEST_F(ModelFixture, ResetsFollowTheTree) {
  Tree.Clear();
  EXPECT_EQ(Model.rowCount(), 0);
  Tree.AddTopLevel("New group");
  Tree.AddChild(0, "1. Power");
  EXPECT_EQ(Model.rowCount(Model.index(0, 0)), 1);
}

TEST(ConfigTreeModel, ATreeThatOutlivesItsModelChangesSafely) {
  ConfigTree tree;
  { ConfigTreeModel model(tree); }
  tree.AddTopLevel("New group");
  EXPECT_EQ(tree.Count(), 1);
}

}  // namespace
}  // namespace quillon::gui
