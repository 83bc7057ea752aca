#ifndef LUMA_APP_APPLICATION_H_
#define LUMA_APP_APPLICATION_H_

namespace luma::app {

// The program: one instance per user (a later start hands its file over and
// ends), the main window with the user's settings, the file named on the
// command line, the file associations. Returns the exit code.
int RunApplication(int argc, char** argv);

}  // namespace luma::app

#endif  // LUMA_APP_APPLICATION_H_
