(((Aa,Bb)R1.2,(Dd,Ee)R1.2)R1.2,Cc)R0.0;
(((Dd,Ee)100,(Aa,Bb)100)80,Cc)100;
