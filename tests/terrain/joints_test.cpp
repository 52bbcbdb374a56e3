// tests/terrain/joints_test.cpp -- joint creation and deletion, neighbour
// links, direction vectors, and the linear relinking against the pairwise
// pass it replaces.
#include <cstdlib>
#include <cstring>
#include <vector>
#include "terrain_fixture.h"
#include "joints.h"

class Joints : public TerrainTest {};

TEST_F(Joints, ChainAndSharedEndLinks)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(2, 1), d = vtx(3, 0);
    new_jnt(a, b, 1);               // 0: A -> B
    new_jnt(b, c, 1);               // 1: B -> C
    EXPECT_EQ(jnt[0].njnt[0], -1);
    EXPECT_EQ(jnt[0].njnt[1], 1);
    EXPECT_EQ(jnt[1].njnt[0], 0);
    EXPECT_EQ(jnt[1].njnt[1], -1);

    new_jnt(d, c, 2);               // 2: D -> C, both 1 and 2 end at C
    EXPECT_EQ(jnt[1].njnt[1], 2);
    EXPECT_EQ(jnt[2].njnt[1], 1);
    EXPECT_EQ(jnt[2].njnt[0], -1);
    EXPECT_EQ(jnt[2].type, 2);
    EXPECT_EQ(jnt[2].state, 1);
}

TEST_F(Joints, ThreeWayVertexPointsAtTheHighestOfTheOthers)
{
    int hub = vtx(0, 0);
    std::vector<int> ends;
    for (int i = 0; i < 10; i++) ends.push_back(vtx(i + 1, 1));
    for (int i = 0; i < 10; i++) new_jnt(ends[i], ends[(i + 1) % 10], 1);
    for (int i = 0; i < 10; i++) jnt[i].state = 0;      // slots 0..9 free again
    // Joints 4, 7 and 9 meet at the hub; the others are elsewhere.
    jnt[4] = jnt_struct{1, {hub, ends[0]}, {-1, -1}, 1};
    jnt[7] = jnt_struct{1, {ends[1], hub}, {-1, -1}, 1};
    jnt[9] = jnt_struct{1, {hub, ends[2]}, {-1, -1}, 1};
    update_adj_jnts();
    EXPECT_EQ(jnt[4].njnt[0], 9);
    EXPECT_EQ(jnt[7].njnt[1], 9);
    EXPECT_EQ(jnt[9].njnt[0], 7);
}

TEST_F(Joints, DeletionUnlinksOrFallsBackToAnotherSharer)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(2, 0), d = vtx(1, 1);
    new_jnt(a, b, 1);   // 0
    new_jnt(b, c, 1);   // 1
    new_jnt(d, b, 1);   // 2
    EXPECT_EQ(jnt[0].njnt[1], 2);
    delete_jnt(2);
    EXPECT_EQ(jnt[2].state, 0);
    EXPECT_EQ(jnt[0].njnt[1], 1);
    EXPECT_EQ(jnt[1].njnt[0], 0);
    delete_jnt(1);
    EXPECT_EQ(jnt[0].njnt[1], -1);
    // A freed slot is the next one taken.
    new_jnt(c, a, 3);
    EXPECT_EQ(jnt[1].state, 1);
    EXPECT_EQ(jnt[1].tvn[0], c);
    EXPECT_EQ(jnt[0].njnt[0], 1);
    // A joint on a vertex outside the table is never made.
    new_jnt(a, num_tvs, 1);
    new_jnt(-1, a, 1);
    EXPECT_EQ(jnt[2].state, 0);
    // Out-of-range deletions change nothing.
    delete_jnt(-1);
    delete_jnt(num_jnts);
    EXPECT_EQ(jnt[0].state, 1);
}

TEST_F(Joints, FullTableCreatesNothingAndChangesNoSlot)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(5, 5);
    for (int n = 0; n < num_jnts; n++) jnt[n] = jnt_struct{1, {a, b}, {-1, -1}, 1};
    update_adj_jnts();
    std::vector<jnt_struct> before(jnt, jnt + num_jnts);
    new_jnt(c, c, 2);
    for (int n = 0; n < num_jnts; n++) {
        ASSERT_EQ(jnt[n].tvn[0], before[n].tvn[0]);
        ASSERT_EQ(jnt[n].tvn[1], before[n].tvn[1]);
        ASSERT_EQ(jnt[n].type, before[n].type);
        ASSERT_EQ(jnt[n].njnt[0], before[n].njnt[0]);
    }
    EXPECT_EQ(jnt[num_jnts - 1].njnt[0], num_jnts - 2);
    EXPECT_EQ(jnt[5].njnt[1], num_jnts - 1);
}

TEST_F(Joints, DirectionVector)
{
    new_jnt(vtx(0, 0), vtx(2, 1), 1);
    vect_struct v = {9, 9};
    get_jnt_vect(0, &v);
    EXPECT_DOUBLE_EQ(v.x, 2);
    EXPECT_DOUBLE_EQ(v.y, 1);
    v = {9, 9};
    get_jnt_vect(-1, &v);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    get_jnt_vect(num_jnts, &v);
    EXPECT_EQ(v.x, 0);
}

// The pass the linear relinking replaces: every ordered pair of joints in use,
// both ends of each, later writes winning.
static void reference_adj_jnts(jnt_struct *t, int count)
{
    for (int n = 0; n < count; n++)
        if (t[n].state) t[n].njnt[0] = t[n].njnt[1] = -1;
    for (int n = 0; n < count; n++) {
        if (!t[n].state) continue;
        for (int m = 0; m < count; m++) {
            if (m == n || !t[m].state) continue;
            for (int a = 0; a < 2; a++)
                for (int b = 0; b < 2; b++)
                    if (t[n].tvn[a] == t[m].tvn[b]) {
                        t[n].njnt[a] = m;
                        t[m].njnt[b] = n;
                    }
        }
    }
}

// Random tables with few vertices, so that many joints share vertices, some
// share both ends, some start and end on one vertex, and free slots (with
// stale links that must be left alone) lie between them.
TEST_F(Joints, LinearRelinkingMatchesThePairwisePass)
{
    srand(20261208);
    const int used_slots = 600;     // the reference is quadratic: keep it small
    for (int round = 0; round < 40; round++) {
        int vertices = 2 + rand() % (round < 20 ? 12 : 400);
        for (int n = 0; n < num_jnts; n++) jnt[n] = jnt_struct{0, {0, 0}, {-1, -1}, 0};
        for (int n = 0; n < used_slots; n++) {
            jnt_struct &r = jnt[n];
            r.state = (char)(rand() % 4 == 0 ? 0 : 1 + rand() % 2);
            r.tvn[0] = rand() % vertices;
            r.tvn[1] = rand() % 5 == 0 ? r.tvn[0] : rand() % vertices;
            r.njnt[0] = rand() % 50 - 1;
            r.njnt[1] = rand() % 50 - 1;
            r.type = (short)(1 + rand() % 3);
        }
        std::vector<jnt_struct> expected(jnt, jnt + used_slots);
        reference_adj_jnts(expected.data(), used_slots);
        update_adj_jnts();
        for (int n = 0; n < used_slots; n++) {
            ASSERT_EQ(jnt[n].njnt[0], expected[n].njnt[0]) << "round " << round << " joint " << n;
            ASSERT_EQ(jnt[n].njnt[1], expected[n].njnt[1]) << "round " << round << " joint " << n;
        }
    }
}
