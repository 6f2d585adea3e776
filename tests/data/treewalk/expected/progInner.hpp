/*-----------------------Program shop----------------------------*/
/*-------------------------- inner type declaration file:progInner.hpp----------------------------*/
#include "progProto.hpp"

typedef struct
{
int _d_n;
float _d_acc;
Channel<int  > ** _d_inq;
Channel<float  > ** _d_outq;
int timer_interval;
bool end;

}
worker_dpt1;
void worker_call(void * params) ;
typedef struct
{
int timer_interval;
bool end;

}
idle_dpt2;
void idle_call(void * params) ;
