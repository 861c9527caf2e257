#pragma once

// Lets the user interface process its pending events once; tests count or script the turns.
class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void processPendingEvents() = 0;
};

// One turn of the application's event loop.
class QtEventPump : public EventPump
{
public:
    void processPendingEvents() override;
};
