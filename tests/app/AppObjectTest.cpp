// The application object with --simulate: the simulated box on a pseudo-terminal is found
// through the real serial path, and the caption says that the box is simulated.

#include "AppFixture.h"
#include "app/AppMessages.h"
#include "app/VQZodavaRozeApp.h"

namespace roviro::test {
namespace {

class AppObjectTest : public AppTest {};

TEST_F(AppObjectTest, SimulateFindsTheBoxOverThePseudoTerminal) {
  WriteProfile();
  LinkTree();
  AppOptions options;
  options.simulate = true;
  options.programDir = program.Path();
  options.dataDir = data.Path();
  CVQZodavaRozeApp app(options);
  ASSERT_TRUE(app.InitInstance());
  CVQZodavaRozeDlg& d = *app.Dialog();
  EXPECT_NE(d.windowTitle().indexOf("[Simulation]"), -1);
  EXPECT_GT(d.CatalogueCount(), 0);
  ASSERT_TRUE(WaitFor([&] { return (d.StateFlags() & kStateBoxPresent) != 0; }));
  EXPECT_TRUE(d.Link().IsOpen());
  // The yes to the close question: the watch ends on the stop request and its 20031 closes.
  d.ConfirmClose();
  ASSERT_TRUE(WaitFor([&] { return d.IsClosed(); }));
  EXPECT_TRUE(d.Link().State().Has(kLinkWatchEnded));
  EXPECT_EQ(d.Link().RunningWorkers(), 0);
}

TEST_F(AppObjectTest, ANamedSimulatedMotorMustBeACatalogueOfTheProgram) {
  WriteProfile();
  LinkTree();
  AppOptions options;
  options.simulate = true;
  options.simulatedMotor = "nosuch";
  options.programDir = program.Path();
  options.dataDir = data.Path();
  CVQZodavaRozeApp app(options);
  EXPECT_FALSE(app.InitInstance());
}

}  // namespace
}  // namespace roviro::test
