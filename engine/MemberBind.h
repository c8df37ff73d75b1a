// Bound calls over an object's member functions, for running them on the UI thread.
#pragma once

#include "ui/framework/SimpleBind.h"

template <class T>
class mf_bind_t : public ISimpleBind {
public:
    using Member = void (T::*)();
    mf_bind_t(T* object, Member member) : object_(object), member_(member) {}
    void Invoke() override { (object_->*member_)(); }

private:
    T* object_;
    Member member_;
};

template <class T>
class mf_bind_t_1 : public ISimpleBind {
public:
    using Member = void (T::*)(int);
    mf_bind_t_1(T* object, Member member, int argument) : object_(object), member_(member), argument_(argument) {}
    void Invoke() override { (object_->*member_)(argument_); }

private:
    T* object_;
    Member member_;
    int argument_;
};
