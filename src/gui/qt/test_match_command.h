// Registers command 40087 on the window: toggle the analysis pane and run the test match.
#pragma once

namespace corvid {

class MainWindow;

void installTestMatchCommand(MainWindow& window);

} // namespace corvid
