// The Effectors dialog's remembered selection: kept between openings, put
// back to the first effector by a new Car, Motorcycle or Aircraft and by a
// loaded object, kept by a new Helicopter.

#include "app/document/document.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(EffectorEditorMemory, NewVehiclesAndLoadedObjectsSelectTheFirstEffector) {
    test::DocumentRig rig;
    Document& doc = *rig.doc;
    auto& memory = doc.effectorEditorMemory();
    EXPECT_EQ(memory.selected, 0);
    EXPECT_EQ(memory.relativeMode, 0);

    memory = {3, 1};
    ASSERT_TRUE(doc.newVehicle(model::kVehicleHelicopter));
    EXPECT_EQ(memory.selected, 3);
    for (std::int32_t type :
         {model::kVehicleCar, model::kVehicleMotorcycle, model::kVehicleAircraft}) {
        memory.selected = 3;
        ASSERT_TRUE(doc.newVehicle(type));
        EXPECT_EQ(memory.selected, 0) << "vehicle " << type;
        EXPECT_EQ(memory.relativeMode, 1) << "the view is kept";
    }

    filetest::ScratchDir dir;
    rig.files.answers.push_back((dir / "plane").string());
    ASSERT_TRUE(doc.saveObjectAs(0));
    memory.selected = 4;
    ASSERT_TRUE(doc.openObject(dir / "plane.kvo"));
    EXPECT_EQ(memory.selected, 0);
}

} // namespace
} // namespace kv::app
