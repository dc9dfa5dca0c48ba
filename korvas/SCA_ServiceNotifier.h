// SPDX-License-Identifier: MIT
#pragma once

// Where the service host reports its state: systemd in the program, a recorder in the tests.
// A text holds one or more "NAME=value" lines of the notification protocol.
class SCA_ServiceNotifier {
public:
    virtual ~SCA_ServiceNotifier();
    virtual void Notify(const char* state) = 0;
};
