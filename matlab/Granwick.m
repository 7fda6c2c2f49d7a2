%GRANWICK Response spectra of a mass on a friction pendulum under two ground components.
%   SPECTRA = GRANWICK(AG1, AG2, DT, M, G, FRN, T, UY) integrates, for every pendulum period T(i)
%   and every friction coefficient FRN(j), a mass M carried by a friction-pendulum isolator and
%   shaken by the two horizontal ground accelerations AG1 and AG2 at once, and returns the peak
%   responses in the structure SPECTRA. The isolator acts in the plane: the pendulum of radius
%   R = G/(2*pi/T)^2 pulls back with stiffness kp = M*G/R in every direction, and the friction
%   element, elastic up to the pre-sliding displacement UY, carries a force vector that stays
%   within a circle of radius FRN*M*G, so sliding in one direction leaves less friction in the
%   other. There is no viscous damping.
%
%   SPECTRA = GRANWICK(AG1, AG2, DT, M, G, FRN, TSTART, TEND, NT, UY) uses the NT periods
%   TSTART, TSTART + DT_T, ... with DT_T = (TEND - TSTART)/(NT - 1), accumulated as a running sum
%   (NT is truncated toward zero and must be at least 1).
%
%   Inputs
%     AG1, AG2  the two horizontal ground accelerations, real double vectors, e.g. in m/s^2;
%               a longer one is cut to the length of the shorter
%     DT        time step of the records, in seconds
%     M         mass, e.g. in kg (its unit sets the unit of the forces)
%     G         acceleration of gravity in the unit of AG1, e.g. 9.81 m/s^2 or 386.1 in/s^2
%     FRN       friction coefficients, a vector; [] gives empty columns
%     T         pendulum periods in seconds, a vector
%     UY        pre-sliding (yield) displacement, in the length unit of G
%
%   Every peak is taken on the resultant (vector magnitude) of the two components. The isolator
%   is integrated by Newmark's average acceleration method with Newton iterations on both
%   components together and automatic halving of the step, over twice the record length. A
%   period and friction coefficient whose analysis does not converge is reported on the console
%   and left at zero. The linear analyses at the initial stiffness k1 = FRN*M*G/UY + kp and at the
%   effective properties run each component separately (exact for records linear between
%   samples) and take the resultant.
%
%   Output fields (matrices are numel(T)-by-numel(FRN): row i is T(i), column j is FRN(j))
%     pga           peak resultant ground acceleration
%     mass          copy of M
%     frn           copy of FRN
%     T             the periods (copy of T, or the generated column)
%     f             1./T, in Hz (a column)
%     dsp           peak resultant displacement relative to the ground
%     vel           peak resultant relative velocity
%     acc           peak resultant relative acceleration
%     totAcc        peak resultant absolute acceleration
%     psdVel        omega*dsp with omega = 2*pi/T
%     psdAcc        omega^2*dsp
%     resDsp        resultant displacement at the end of the analysis
%     iFrc          totAcc*M
%     dFrc          0 (no viscous damping)
%     rFrc          peak resultant isolator force
%     yieldDsp      UY
%     psdYieldVel   omega*UY
%     psdYieldAcc   omega^2*UY
%     yieldFrc      Fy = k1*UY
%     muFact        dsp/UY
%     RFact         peak resultant force of the linear isolator at k1, over Fy
%     gammaFact     dsp over the peak resultant displacement of the linear isolator at k1
%     effT          2*pi*sqrt(M/keff), keff = rFrc/dsp
%     effZeta       2*FRN*M*G*(dsp - UY)/(pi*rFrc*dsp), 0 when negative
%     effRFact      peak resultant force of the linear system at keff and effZeta, over Fy
%     effGammaFact  dsp over the peak resultant displacement of that linear system
%
%   Example
%     dt = 0.01; t = (0:1999)'*dt;
%     ag1 = 0.3*9.81*sin(2*pi*1.5*t).*exp(-0.3*t);
%     ag2 = 0.2*9.81*cos(2*pi*0.8*t).*exp(-0.25*t);
%     s = Granwick(ag1, ag2, dt, 1000, 9.81, [0.03 0.06], 1.5, 4, 26, 0.001);
%     plot(s.T, s.dsp); xlabel('T (s)'); ylabel('peak resultant displacement (m)');
%
%   See also TILLOCK, VINTARROW, DASKENT, BUILD_MEX.

error('Granwick: the MEX file is not built; run build_mex in the matlab folder');
